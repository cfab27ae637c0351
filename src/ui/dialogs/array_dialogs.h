#pragma once
// The Array Area dialogs: the size for the selection's formulas ("Array Areas  (create or remove)")
// and the elements of one cell ("Set array elements"), edited on a copy that only "Ok" writes back.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace qx {

inline constexpr const char* kArraySizeCaption = "Array Areas  (create or remove)";
inline constexpr const char* kArrayElementsCaption = "Set array elements";

class ArraySizeDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit ArraySizeDialog(Platform& platform, QWidget* parent = nullptr);

    // Set once the dialog was accepted.
    std::optional<int> size() const { return m_size; }
    bool warnings() const { return m_warn->isChecked(); }

    QLineEdit* sizeField() const { return m_field; }
    QCheckBox* warningBox() const { return m_warn; }

  private:
    void take();

    Platform& m_platform;
    QLineEdit* m_field = nullptr;
    QCheckBox* m_warn = nullptr;
    std::optional<int> m_size;
};

class ArrayElementsDialog final : public QDialog {
    Q_OBJECT
  public:
    struct Cell {
        int row = 0;
        int col = 0;
        int level = 0;
    };
    // How an element is shown (the cell's display format) and how typed text becomes a value (none
    // once a box has said why not).
    struct Conversions {
        std::function<QString(double)> show;
        std::function<std::optional<double>(const QString&)> read;
    };

    ArrayElementsDialog(Cell cell, std::vector<double> elements, Conversions conversions, QWidget* parent = nullptr);

    // The edited copy; the cell's own elements change only when the caller writes it back.
    const std::vector<double>& elements() const { return m_values; }

    QLabel* cellLabel() const { return m_cellLabel; }
    QListWidget* list() const { return m_list; }
    QLineEdit* valueField() const { return m_value; }
    QPushButton* setButton() const { return m_set; }
    QPushButton* setAllButton() const { return m_setAll; }
    QPushButton* clearAllButton() const { return m_clearAll; }

  private:
    void choose(int index);
    bool store();
    void setAll();
    void clearAll();
    void refreshRow(int index);

    Conversions m_conv;
    std::vector<double> m_values;
    QLabel* m_cellLabel = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_value = nullptr;
    QPushButton* m_set = nullptr;
    QPushButton* m_setAll = nullptr;
    QPushButton* m_clearAll = nullptr;
};

}  // namespace qx
