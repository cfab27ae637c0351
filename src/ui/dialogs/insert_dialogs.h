#pragma once
// The small dialogs of the edit bar: choosing a cell address, choosing from the level's labels and
// the functions ("List"), and reading a whole entry ("View").
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <vector>

#include "functions/function_registry.h"
#include "ui/entry_insert.h"

namespace qx {

class AddressDialog final : public QDialog {
    Q_OBJECT
  public:
    AddressDialog(int row, int col, int level, int highestLevel, QWidget* parent = nullptr);

    int row() const { return m_row->value(); }
    int col() const { return m_col->value(); }
    int level() const { return m_level->value(); }
    QSpinBox* rowBox() const { return m_row; }
    QSpinBox* colBox() const { return m_col; }
    QSpinBox* levelBox() const { return m_level; }

  private:
    QSpinBox* m_row = nullptr;
    QSpinBox* m_col = nullptr;
    QSpinBox* m_level = nullptr;
};

// A filtered list of what may be inserted: labels as "[row,col]  text", functions by name.
class InsertListDialog final : public QDialog {
    Q_OBJECT
  public:
    struct Choice {
        QString shown;
        QString inserted;  // for a label its text; the caller quotes it as the entry needs
        bool label = false;
    };

    InsertListDialog(const QString& title, std::vector<Choice> choices, QWidget* parent = nullptr);

    // The chosen entry, or null when none is chosen.
    const Choice* chosen() const;
    QLineEdit* filter() const { return m_filter; }
    QListWidget* list() const { return m_list; }

    static std::vector<Choice> labelChoices(const std::vector<LevelLabel>& labels);
    static std::vector<Choice> functionChoices(const FunctionRegistry& registry);

  private:
    void applyFilter(const QString& text);

    std::vector<Choice> m_choices;
    QLineEdit* m_filter = nullptr;
    QListWidget* m_list = nullptr;
};

// The whole entry text, wrapped, in a box that cannot change it.
class EntryViewDialog final : public QDialog {
    Q_OBJECT
  public:
    EntryViewDialog(const QString& place, const QString& entry, QWidget* parent = nullptr);
    QPlainTextEdit* textBox() const { return m_text; }

  private:
    QPlainTextEdit* m_text = nullptr;
};

}  // namespace qx
