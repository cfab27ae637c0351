#include "ui/dialogs/bar_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr std::string_view kWarning = "WARNING";
constexpr std::string_view kScriptError = "ERROR (DB42)!";
constexpr std::string_view kBarNameError = "ERROR (DB43)!";

std::string quotedIn(std::string_view before, const std::string& name, std::string_view after) {
    return std::string(before) + name + std::string(after);
}

}  // namespace

BarNameRefusal checkNewBarName(const std::string& name) {
    if (name.empty() || name.size() > static_cast<std::size_t>(kMaxBarName)) {
        return {std::string(kBarNameError),
                "A button bar menu name must be " + std::to_string(kMaxBarName) + " characters or less!"};
    }
    // These characters separate the fields of the settings records; a name holding one would make
    // the whole settings file unreadable at the next start.
    if (const char c = illegalBarNameChar(name); c != '\0') {
        return {std::string(kBarNameError),
                std::string("A button bar menu name cannot hold the character '") + c + "'."};
    }
    return {};
}

// ---- "Add (deleted) a Button ..." ----

AddButtonDialog::AddButtonDialog(BarSet& bars, const CommandTable& commands, Platform& platform, QWidget* parent)
    : QDialog(parent), m_bars(bars), m_commands(commands), m_platform(platform) {
    setObjectName(QStringLiteral("AddButtonDialog"));
    setWindowTitle(QStringLiteral("Add (deleted) a Button"));
    setModal(false);
    if (const ButtonBar* shown = m_bars.shownBar()) m_target = shown->name;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Button bar:  %1").arg(fromEngine(m_target)), this));
    auto* hint = new QLabel(tr("While this window is open, a command chosen from the menus or the button bar\n"
                               "is added to the bar as a button instead of being carried out."),
                            this);
    layout->addWidget(hint);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Buttons"));
    layout->addWidget(m_list);
    auto* listButtons = new QHBoxLayout;
    auto* remove = new QPushButton(tr("&Delete"), this);
    auto* left = new QPushButton(tr("Move &left"), this);
    auto* right = new QPushButton(tr("Move &right"), this);
    // Enter in the script-name field adds the script; it must not press these.
    for (QPushButton* b : {remove, left, right}) {
        b->setAutoDefault(false);
        listButtons->addWidget(b);
    }
    listButtons->addStretch();
    layout->addLayout(listButtons);
    connect(remove, &QPushButton::clicked, this, &AddButtonDialog::deleteSelected);
    connect(left, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(right, &QPushButton::clicked, this, [this] { moveSelected(1); });

    auto* scriptRow = new QHBoxLayout;
    scriptRow->addWidget(new QLabel(tr("Script name:"), this));
    m_scriptName = new QLineEdit(this);
    m_scriptName->setObjectName(QStringLiteral("ScriptName"));
    m_scriptName->setMaxLength(kMaxBarName * 2);
    m_scriptName->setToolTip(
        tr("A script button calls the attached script of this name (at most %1 characters).").arg(kMaxButtonLabel));
    scriptRow->addWidget(m_scriptName, 1);
    auto* add = new QPushButton(tr("&Add"), this);
    add->setObjectName(QStringLiteral("AddScript"));
    add->setDefault(true);
    scriptRow->addWidget(add);
    layout->addLayout(scriptRow);
    connect(add, &QPushButton::clicked, this, &AddButtonDialog::addScriptButton);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refreshList();
}

template <class Change>
bool AddButtonDialog::onTarget(Change change) {
    const ButtonBar* shown = m_bars.shownBar();
    const std::string before = shown ? shown->name : std::string();
    if (!m_bars.showBar(m_target)) return false;
    const bool done = change();
    if (!before.empty()) m_bars.showBar(before);
    if (done) Q_EMIT barChanged();
    return done;
}

void AddButtonDialog::warn(const std::string& caption, const std::string& text) {
    m_platform.messageBox(caption, text, BoxIcon::Exclamation, BoxButtons::Ok);
}

bool AddButtonDialog::record(const Command& command) {
    const int place = m_bars.findBar(m_target);
    const ButtonBar* bar = m_bars.bar(place);
    if (bar != nullptr && bar->buttons.size() >= static_cast<std::size_t>(kMaxBarButtons)) {
        warn(std::string(kWarning),
             "You are exceeding the maximum number of buttons allowed\nin a Button Bar.  Try creating a new Button "
             "Bar.");
        return true;
    }
    const auto id = static_cast<uint16_t>(command.id);
    if (!onTarget([&] { return m_bars.addButton(command.name, id); })) {
        warn(std::string(kScriptError), "Could not add the button!");
        return true;
    }
    refreshList(static_cast<int>(m_bars.bar(place)->buttons.size()) - 1);
    return true;
}

void AddButtonDialog::addScriptButton() {
    const std::string name = toEngine(m_scriptName->text().trimmed());
    if (name.size() > static_cast<std::size_t>(kMaxButtonLabel)) {
        warn(std::string(kScriptError),
             "Script name is to large, It must be " + std::to_string(kMaxButtonLabel) + " characters of less!");
        return;
    }
    const int place = m_bars.findBar(m_target);
    if (!onTarget([&] { return m_bars.addButton(name, 0); })) {
        warn(std::string(kScriptError), "Could not add the button!");
        return;
    }
    m_scriptName->clear();
    refreshList(static_cast<int>(m_bars.bar(place)->buttons.size()) - 1);
}

void AddButtonDialog::deleteSelected() {
    const int row = m_list->currentRow();
    if (row < 0) return;
    onTarget([&] { return m_bars.deleteButton(row); });
    refreshList(row);
}

void AddButtonDialog::moveSelected(int by) {
    const int row = m_list->currentRow();
    if (row < 0) return;
    if (onTarget([&] { return m_bars.moveButton(row, row + by); })) refreshList(row + by);
}

void AddButtonDialog::refreshList(int select) {
    m_list->clear();
    const ButtonBar* bar = m_bars.bar(m_bars.findBar(m_target));
    if (bar == nullptr) return;
    for (const BarButton& b : bar->buttons) {
        QString text = fromEngine(b.label);
        if (b.isScript()) {
            text += tr("   (script)");
        } else if (const Command* c = m_commands.findById(b.command)) {
            text += QStringLiteral("   (") + fromEngine(c->menuText) + QLatin1Char(')');
        }
        m_list->addItem(text);
    }
    if (m_list->count() > 0) m_list->setCurrentRow(std::clamp(select, 0, m_list->count() - 1));
}

// ---- "Add (deleted) a Button Bar ..." ----

BarMenuDialog::BarMenuDialog(BarSet& bars, Platform& platform, QWidget* parent)
    : QDialog(parent), m_bars(bars), m_platform(platform) {
    setObjectName(QStringLiteral("BarMenuDialog"));
    setWindowTitle(QStringLiteral("Add (deleted) a Button Bar"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("New button bar name:"), this), 0, 0);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("BarName"));
    m_name->setMaxLength(kMaxBarName * 4);
    m_name->setToolTip(tr("1 to %1 characters").arg(kMaxBarName));
    layout->addWidget(m_name, 0, 1);
    auto* add = new QPushButton(tr("&Add"), this);
    add->setDefault(true);
    layout->addWidget(add, 0, 2);
    connect(add, &QPushButton::clicked, this, &BarMenuDialog::addBar);

    layout->addWidget(new QLabel(tr("Button bars (the one chosen is on show):"), this), 1, 0, 1, 3);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Bars"));
    layout->addWidget(m_list, 2, 0, 1, 2);
    auto* remove = new QPushButton(tr("&Delete"), this);
    remove->setAutoDefault(false);
    remove->setToolTip(tr("Deletes the button bar on show"));
    layout->addWidget(remove, 2, 2, Qt::AlignTop);
    connect(remove, &QPushButton::clicked, this, &BarMenuDialog::deleteShownBar);
    connect(m_list, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (name.isEmpty()) return;
        const ButtonBar* shown = m_bars.shownBar();
        if (shown && fromEngine(shown->name) == name) return;
        if (m_bars.showBar(toEngine(name))) Q_EMIT barsChanged();
    });

    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(box, 3, 0, 1, 3);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refreshList();
}

void BarMenuDialog::warn(const std::string& caption, const std::string& text) {
    m_platform.messageBox(caption, text, BoxIcon::Exclamation, BoxButtons::Ok);
}

bool BarMenuDialog::addBar() {
    const std::string name = toEngine(m_name->text());
    const BarNameRefusal refusal = checkNewBarName(name);
    if (!refusal.caption.empty()) {
        warn(refusal.caption, refusal.text);
        return false;
    }
    if (m_bars.addBar(name) == 0) {
        warn(std::string(kWarning), "Unable to add the new Button Bar Menu");
        return false;
    }
    m_name->clear();
    refreshList();
    Q_EMIT barsChanged();
    return true;
}

bool BarMenuDialog::deleteShownBar() {
    const ButtonBar* shown = m_bars.shownBar();
    const std::string name = shown ? shown->name : toEngine(m_list->currentItem() ? m_list->currentItem()->text() : "");
    if (isDefaultBarName(name)) {
        warn(std::string(kWarning), quotedIn("You cannot delete the '", name, "' menu."));
        return false;
    }
    const int place = m_bars.findBar(name);
    if (place == 0) {
        warn(std::string(kWarning), quotedIn("Could not locate the '", name, "' menu."));
        return false;
    }
    m_bars.deleteBar(place);
    refreshList();
    Q_EMIT barsChanged();
    return true;
}

void BarMenuDialog::refreshList() {
    const QSignalBlocker block(m_list);
    m_list->clear();
    const ButtonBar* shown = m_bars.shownBar();
    for (int place : m_bars.places()) {
        m_list->addItem(fromEngine(m_bars.bar(place)->name));
        if (m_bars.bar(place) == shown) m_list->setCurrentRow(m_list->count() - 1);
    }
}

}  // namespace qx
