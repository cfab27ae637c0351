#pragma once
// The function-insert dialog: the sixteen categories, the functions of the one chosen, the help
// text of a function, and the call template that "Insert" places in the entry.
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <string>

#include "functions/function_registry.h"

namespace qx {

class FunctionDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit FunctionDialog(const FunctionRegistry& registry, QWidget* parent = nullptr);

    // The text to insert for the chosen function, blanks removed; empty when none is chosen.
    QString insertion() const;

    QListWidget* categoryList() const { return m_categories; }
    QListWidget* functionList() const { return m_functions; }
    QLabel* helpText() const { return m_help; }

  private:
    void showCategory(int row);
    void showFunction(int row);

    const FunctionRegistry& m_registry;
    std::vector<const FunctionEntry*> m_shown;
    QListWidget* m_categories = nullptr;
    QListWidget* m_functions = nullptr;
    QLabel* m_help = nullptr;
    QPushButton* m_insert = nullptr;
};

}  // namespace qx
