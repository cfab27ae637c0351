#pragma once
// The script controls: the attached Script Libraries with their scripts, attaching and detaching, the
// Swap Area size and clearing run counts; and the compile dialog with its message list.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <functional>

#include "core/err_stat.h"

namespace qx {

class Session;
class QtPlatform;

// Runs an engine operation the way the frame runs commands (guarded, its failure in the composed box);
// false when it was refused or failed.
using OperationRunner = std::function<bool(const std::function<void(ErrStat&)>&)>;

class CompileDialog final : public QDialog {
    Q_OBJECT
  public:
    CompileDialog(Session& session, QtPlatform& platform, OperationRunner run, QWidget* parent = nullptr);

    // Asks for a source file ("Compile Script Source File") and compiles it.
    void chooseAndCompile();
    // Compiles the source at `path` and shows the message list.
    void compile(const QString& path);

    QListWidget* messages() const { return m_messages; }
    QCheckBox* writeLog() const { return m_writeLog; }
    QPushButton* againButton() const { return m_again; }

  Q_SIGNALS:
    // A library was written (or deleted after errors): the library list may show other versions.
    void compiled();

  private:
    Session& m_session;
    QtPlatform& m_platform;
    OperationRunner m_run;
    QLabel* m_source = nullptr;
    QCheckBox* m_writeLog = nullptr;
    QListWidget* m_messages = nullptr;
    QPushButton* m_again = nullptr;
    QString m_path;
};

class ScriptLibraryDialog final : public QDialog {
    Q_OBJECT
  public:
    ScriptLibraryDialog(Session& session, QtPlatform& platform, OperationRunner run, QWidget* parent = nullptr);

    // Shows the libraries, the scripts of the selected one and the Swap Area as they are now.
    void refresh();
    // Attaches the library at `path`; false when it failed (the box said why).
    bool attach(const QString& path);
    void detachSelected();
    void resizeSwapArea();
    void clearRunCounts();

    QListWidget* libraries() const { return m_libraries; }
    QTreeWidget* scripts() const { return m_scripts; }
    QLabel* libraryInfo() const { return m_info; }
    QSpinBox* swapSize() const { return m_swapSize; }
    QPushButton* button(const QString& text) const;

  Q_SIGNALS:
    // Attached libraries changed: function keys may have been bound or freed.
    void librariesChanged();

  private:
    void chooseAndAttach();
    void openCompile();
    void showScripts();
    // The table index of the library selected in the list, or -1.
    int selectedLibrary() const;

    Session& m_session;
    QtPlatform& m_platform;
    OperationRunner m_run;
    QListWidget* m_libraries = nullptr;
    QLabel* m_info = nullptr;
    QTreeWidget* m_scripts = nullptr;
    QSpinBox* m_swapSize = nullptr;
    std::vector<int> m_shownLibraries;  // table index of each list row
};

}  // namespace qx
