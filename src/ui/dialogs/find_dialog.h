#pragma once
// "Find": searches the active level for a pattern and, with "Replace with:" ticked, replaces the
// text in the cell it found. The search and the replacement are the session's; the dialog only
// collects the request and hands it on, so it stays open for one search after another.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "app/session.h"

namespace qx {

class FindDialog final : public QDialog {
    Q_OBJECT
  public:
    // What the frame does for the dialog: search (the found cell, or none) and replace in the found
    // cell (false when refused or failed).
    struct Actions {
        std::function<FoundCell(const FindOptions&, const QString&)> find;
        std::function<bool(const QString& find, const QString& with)> replace;
    };

    // Preset with what the last search of this run remembered.
    FindDialog(const FindMemory& last, Actions actions, QWidget* parent = nullptr);

    FindOptions options() const;

    QLineEdit* findField() const { return m_find; }
    QLineEdit* replaceField() const { return m_with; }
    QCheckBox* replaceBox() const { return m_replaceOn; }
    QComboBox* cellType() const { return m_cellType; }
    QRadioButton* upButton() const { return m_up; }
    QCheckBox* ignoreCaseBox() const { return m_ignoreCase; }
    QPushButton* findButton() const { return m_findNext; }
    QPushButton* replaceButton() const { return m_replace; }
    // One line on what the last press did.
    QLabel* outcome() const { return m_outcome; }

  private:
    void findNext();
    void replaceFound();
    void updateButtons();

    Actions m_actions;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_with = nullptr;
    QCheckBox* m_replaceOn = nullptr;
    QComboBox* m_cellType = nullptr;
    QRadioButton* m_down = nullptr;
    QRadioButton* m_up = nullptr;
    QCheckBox* m_ignoreCase = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QLabel* m_outcome = nullptr;
    // Replacing needs a cell this dialog found; a new find text must be searched for first.
    bool m_found = false;
};

}  // namespace qx
