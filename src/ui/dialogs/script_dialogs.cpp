#include "ui/dialogs/script_dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <cstdio>

#include "app/session.h"
#include "core/scratch_record.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

QString versionText(float version) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0.2f", static_cast<double>(version));
    return QString::fromLatin1(buf);
}

QString directoryOf(Session& session) {
    const AppGlobals& app = session.globals();
    return pathFromEngine(app.defaultDocumentDirectory.empty() ? app.startDirectory : app.defaultDocumentDirectory);
}

}  // namespace

// ---- compile dialog ----

CompileDialog::CompileDialog(Session& session, QtPlatform& platform, OperationRunner run, QWidget* parent)
    : QDialog(parent), m_session(session), m_platform(platform), m_run(std::move(run)) {
    setObjectName(QStringLiteral("CompileDialog"));
    setWindowTitle(tr("Compile Script Source File"));
    auto* layout = new QVBoxLayout(this);
    m_source = new QLabel(tr("No source file compiled yet."), this);
    m_source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_source);
    m_writeLog = new QCheckBox(tr("Write the messages to a .log file beside the source"), this);
    layout->addWidget(m_writeLog);
    m_messages = new QListWidget(this);
    m_messages->setObjectName(QStringLiteral("Messages"));
    m_messages->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_messages->setMinimumSize(m_messages->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 82, 260);
    layout->addWidget(m_messages);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* choose = buttons->addButton(tr("Source file ..."), QDialogButtonBox::ActionRole);
    m_again = buttons->addButton(tr("Compile again"), QDialogButtonBox::ActionRole);
    m_again->setEnabled(false);
    buttons->addButton(QDialogButtonBox::Close);
    for (QAbstractButton* b : buttons->buttons()) static_cast<QPushButton*>(b)->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(choose, &QPushButton::clicked, this, &CompileDialog::chooseAndCompile);
    connect(m_again, &QPushButton::clicked, this, [this] { compile(m_path); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CompileDialog::chooseAndCompile() {
    const auto choice = m_platform.chooseFileOfType("Compile Script Source File", pathToEngine(directoryOf(m_session)),
                                                    {FileFilter{"Script Source Files (*.s)", "*.s"}}, 0, false);
    if (choice) compile(pathFromEngine(choice->path));
}

void CompileDialog::compile(const QString& path) {
    if (path.isEmpty()) return;
    m_path = path;
    m_again->setEnabled(true);
    m_source->setText(QDir::toNativeSeparators(path));
    // The message list is cleared first and shown, as the compile run fills it.
    m_messages->clear();
    CompileOutcome outcome;
    const bool ran =
        m_run([&](ErrStat&) { outcome = m_session.compileSource(pathToEngine(path), m_writeLog->isChecked()); });
    if (!ran) return;
    for (const std::string& row : outcome.rows) m_messages->addItem(fromEngine(row));
    m_messages->scrollToBottom();
    Q_EMIT compiled();
}

// ---- script libraries ----

ScriptLibraryDialog::ScriptLibraryDialog(Session& session, QtPlatform& platform, OperationRunner run, QWidget* parent)
    : QDialog(parent), m_session(session), m_platform(platform), m_run(std::move(run)) {
    setObjectName(QStringLiteral("ScriptLibraryDialog"));
    setWindowTitle(tr("Script Libraries"));
    auto* layout = new QGridLayout(this);

    layout->addWidget(new QLabel(tr("Attached libraries:"), this), 0, 0);
    m_libraries = new QListWidget(this);
    m_libraries->setObjectName(QStringLiteral("Libraries"));
    layout->addWidget(m_libraries, 1, 0);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("LibraryInfo"));
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_info, 2, 0, 1, 2);

    layout->addWidget(new QLabel(tr("Scripts of the selected library:"), this), 0, 1);
    m_scripts = new QTreeWidget(this);
    m_scripts->setObjectName(QStringLiteral("Scripts"));
    m_scripts->setRootIsDecorated(false);
    m_scripts->setHeaderLabels({tr("Script"), tr("Bytes"), tr("State"), tr("Call weight"), tr("Run count")});
    m_scripts->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_scripts->setMinimumWidth(m_scripts->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40);
    layout->addWidget(m_scripts, 1, 1);

    auto* swapRow = new QHBoxLayout;
    swapRow->addWidget(new QLabel(tr("Swap Area (bytes):"), this));
    m_swapSize = new QSpinBox(this);
    m_swapSize->setObjectName(QStringLiteral("SwapSize"));
    m_swapSize->setRange(kSwapAreaMin, kSwapAreaMax);
    m_swapSize->setSingleStep(1024);
    m_swapSize->setGroupSeparatorShown(false);
    swapRow->addWidget(m_swapSize);
    auto* resize = new QPushButton(tr("Resize"), this);
    swapRow->addWidget(resize);
    swapRow->addStretch();
    layout->addLayout(swapRow, 3, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* attachButton = buttons->addButton(tr("Attach ..."), QDialogButtonBox::ActionRole);
    QPushButton* detach = buttons->addButton(tr("Detach"), QDialogButtonBox::ActionRole);
    QPushButton* compileButton = buttons->addButton(tr("Compile ..."), QDialogButtonBox::ActionRole);
    QPushButton* clear = buttons->addButton(tr("Clear run counts"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    // Enter in the size field must resize, never close or detach.
    for (QAbstractButton* b : buttons->buttons()) static_cast<QPushButton*>(b)->setAutoDefault(false);
    resize->setAutoDefault(false);
    layout->addWidget(buttons, 4, 0, 1, 2);

    connect(m_libraries, &QListWidget::currentRowChanged, this, &ScriptLibraryDialog::showScripts);
    connect(attachButton, &QPushButton::clicked, this, &ScriptLibraryDialog::chooseAndAttach);
    connect(detach, &QPushButton::clicked, this, &ScriptLibraryDialog::detachSelected);
    connect(compileButton, &QPushButton::clicked, this, &ScriptLibraryDialog::openCompile);
    connect(clear, &QPushButton::clicked, this, &ScriptLibraryDialog::clearRunCounts);
    connect(resize, &QPushButton::clicked, this, &ScriptLibraryDialog::resizeSwapArea);
    connect(m_swapSize, &QSpinBox::editingFinished, this, [this] {
        if (m_swapSize->hasFocus()) resizeSwapArea();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refresh();
}

QPushButton* ScriptLibraryDialog::button(const QString& text) const {
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

int ScriptLibraryDialog::selectedLibrary() const {
    const int row = m_libraries->currentRow();
    if (row < 0 || row >= static_cast<int>(m_shownLibraries.size())) return -1;
    return m_shownLibraries[static_cast<std::size_t>(row)];
}

void ScriptLibraryDialog::refresh() {
    const ScriptLibraries& libs = m_session.libraries();
    const int selected = selectedLibrary();
    m_shownLibraries = libs.attached();
    {
        const QSignalBlocker block(m_libraries);
        m_libraries->clear();
        int row = m_shownLibraries.empty() ? -1 : 0;
        for (std::size_t i = 0; i < m_shownLibraries.size(); ++i) {
            m_libraries->addItem(fromEngine(libs.library(m_shownLibraries[i]).file));
            if (m_shownLibraries[i] == selected) row = static_cast<int>(i);
        }
        m_libraries->setCurrentRow(row);
    }
    m_swapSize->setValue(static_cast<int>(libs.swapArea().size()));
    showScripts();
}

void ScriptLibraryDialog::showScripts() {
    m_scripts->clear();
    const int index = selectedLibrary();
    if (index < 0) {
        m_info->setText(tr("No library attached."));
        return;
    }
    const ScriptLibraries& libs = m_session.libraries();
    const LibraryTableEntry& lib = libs.library(index);
    const std::string directory = lib.directory.empty() ? std::string(".") : lib.directory;
    m_info->setText(tr("Library version %1, compiled by version %2\n%3")
                        .arg(versionText(lib.libraryVersion), versionText(lib.compilerVersion),
                             pathFromEngine(directory + "\\" + lib.file)));
    for (const ScriptIndexEntry& s : libs.scripts()) {
        if (s.library != index) continue;
        auto* item = new QTreeWidgetItem(m_scripts);
        item->setText(0, fromEngine(s.name));
        item->setText(1, QString::number(s.bodyLength));
        item->setText(2, s.unloaded ? QStringLiteral("unloaded") : QStringLiteral("loaded"));
        item->setText(3, QString::number(s.callWeight));
        item->setText(4, QString::number(s.runCount));
        for (int c = 1; c <= 4; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void ScriptLibraryDialog::chooseAndAttach() {
    const auto choice = m_platform.chooseFileOfType("Attach Script Library", pathToEngine(directoryOf(m_session)),
                                                    {FileFilter{"Script Libraries (*.slb)", "*.slb"}}, 0, false);
    if (choice) attach(pathFromEngine(choice->path));
}

bool ScriptLibraryDialog::attach(const QString& path) {
    int index = kAttachFailed;
    const bool attached = m_run([&](ErrStat& err) { index = m_session.attachLibrary(pathToEngine(path), err); });
    refresh();
    // The new library is the one whose scripts the user wants to see.
    for (std::size_t row = 0; attached && row < m_shownLibraries.size(); ++row) {
        if (m_shownLibraries[row] == index) m_libraries->setCurrentRow(static_cast<int>(row));
    }
    Q_EMIT librariesChanged();
    return attached;
}

void ScriptLibraryDialog::detachSelected() {
    const int index = selectedLibrary();
    if (index < 0) return;
    const std::string file = m_session.libraries().library(index).file;
    m_run([&](ErrStat& err) { m_session.detachLibrary(file, err); });
    refresh();
    Q_EMIT librariesChanged();
}

void ScriptLibraryDialog::resizeSwapArea() {
    const int bytes = m_swapSize->value();
    if (bytes == static_cast<int>(m_session.libraries().swapArea().size())) return;
    m_run([&](ErrStat& err) { m_session.libraries().resizeSwapArea(bytes, err); });
    refresh();
}

void ScriptLibraryDialog::clearRunCounts() {
    m_run([&](ErrStat&) { m_session.scriptCalls().clearRunCounts(); });
    refresh();
}

void ScriptLibraryDialog::openCompile() {
    CompileDialog dialog(m_session, m_platform, m_run, this);
    connect(&dialog, &CompileDialog::compiled, this, &ScriptLibraryDialog::refresh);
    dialog.show();
    dialog.chooseAndCompile();
    dialog.exec();
}

}  // namespace qx
