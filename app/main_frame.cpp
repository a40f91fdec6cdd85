// Builds the menus from the menu template and keeps their items in step with the update
// handlers each time a menu opens.
#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/menu_mnemonics.h"

#include "res/command_ids.h"
#include "res/pictures.h"
#include "res/string_table.h"
#include "view/keys_and_mouse.h"
#include "view/tamberlo_view.h"

namespace {

// The command bar's buttons in tooltip order; "New" and "File" have no command here, so they
// stay out of sight ("New" is switched off on every platform). "Help" opens Keys and Mouse.
struct CommandBarButton {
    int tipId;
    int commandId;
};
constexpr CommandBarButton kCommandBarButtons[] = {
    {res::IDS_TIP_NEW, 0},
    {res::IDS_TIP_FILE, 0},
    {res::IDS_TIP_HELP, cmd::ID_KEYS_AND_MOUSE},
    {res::IDS_TIP_CUT, cmd::ID_CUT},
    {res::IDS_TIP_COPY, cmd::ID_COPY},
    {res::IDS_TIP_PASTE, cmd::ID_PASTE},
    {res::IDS_TIP_VERSION, cmd::ID_APP_ABOUT},
};

} // namespace

CMainFrame::CMainFrame(std::function<void()> saveSettings, std::function<void()> quit)
    : saveSettings_(std::move(saveSettings)), quit_(std::move(quit))
{
    setObjectName("MainFrame");
    setWindowTitle("Tamberlo");
    setWindowIcon(res::ApplicationIcon());
    commands_.Add(cmd::ID_APP_EXIT, [this] {
        saveSettings_();
        quit_();
    });
    BuildMenuBar();
    BuildCommandBar();
    AttachKeys();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::ShowDay(const SYSTEMTIME& day)
{
    if (view_ != nullptr) {
        view_->JumpTo(day);
    }
    ComeToFront();
}

void CMainFrame::ComeToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void CMainFrame::SetView(CTamberloView* view, const CommandRouter* router)
{
    view_ = view;
    router_ = router;
    setCentralWidget(view);
    view->setFocus();
    connect(view, &CTamberloView::CommandStateChanged, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
}

void CMainFrame::AddBarAboveView(QWidget* bar)
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    if (QWidget* central = takeCentralWidget()) {
        layout->addWidget(central, 1);
    }
    setCentralWidget(column);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    saveSettings_();
    QMainWindow::closeEvent(event);
}

QRect FittedWindowRect(QSize wanted, const QRect& available)
{
    // Leave room for the window manager's frame and title.
    constexpr int kFrameRoom = 48;
    const QSize room(std::max(1, available.width() - kFrameRoom),
                     std::max(1, available.height() - kFrameRoom));
    QRect fitted(QPoint(0, 0), wanted.boundedTo(room));
    fitted.moveCenter(available.center());
    return fitted;
}

std::string CMainFrame::SavedGeometry() const
{
    return saveGeometry().toBase64().toStdString();
}

void CMainFrame::PlaceWindow(const std::string& saved)
{
    if (!saved.empty() &&
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(saved)))) {
        return;
    }
    const QScreen* shownOn = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QSize wanted(1024, 720);
    setGeometry(shownOn != nullptr ? FittedWindowRect(wanted, shownOn->availableGeometry())
                                   : QRect(QPoint(0, 0), wanted));
}

std::string CMainFrame::SavedDocks() const
{
    return saveState().toBase64().toStdString();
}

void CMainFrame::PlaceDocks(const std::string& saved)
{
    if (!saved.empty()) {
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(saved)));
    }
}

// Each menu picks its items' underlined letters in its own order, the menu bar its menus'.
void CMainFrame::BuildMenuBar()
{
    const std::vector<res::MenuItem>& popups = res::LoadMenu(res::IDR_MAINFRAME);
    std::vector<std::wstring> titles;
    titles.reserve(popups.size());

    for (const res::MenuItem& popup : popups) {
        titles.push_back(popup.text);
    }
    const std::vector<wchar_t> letters = PickMnemonics(titles);
    for (size_t i = 0; i < popups.size(); ++i) {
        const QString title = QString::fromStdWString(WithMnemonic(titles[i], letters[i]));
        AddMenuItems(menuBar()->addMenu(title), popups[i].children);
    }
}

QString CMainFrame::ShownText(const QAction* action, const std::wstring& text)
{
    const auto letter = static_cast<wchar_t>(action->property("mnemonic").toInt());
    return QString::fromStdWString(WithMnemonic(text, letter));
}

void CMainFrame::AddMenuItems(QMenu* menu, const std::vector<res::MenuItem>& items)
{
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    std::vector<std::wstring> texts;
    texts.reserve(items.size());

    for (const res::MenuItem& item : items) {
        texts.push_back(item.IsSeparator() ? std::wstring() : item.text);
    }
    const std::vector<wchar_t> letters = PickMnemonics(texts);
    for (size_t i = 0; i < items.size(); ++i) {
        const res::MenuItem& item = items[i];
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            const QString title = QString::fromStdWString(WithMnemonic(item.text, letters[i]));
            AddMenuItems(menu->addMenu(title), item.children);
        } else {
            QAction* action = menu->addAction(QString());
            action->setProperty("mnemonic", static_cast<int>(letters[i]));
            action->setText(ShownText(action, item.text));
            action->setData(item.id);
            action->setProperty("resourceText", QString::fromStdWString(item.text));
            action->setObjectName(QString("command%1").arg(item.id));
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
            commandActions_.push_back(action);
        }
    }
}

// Keys go on the menu items, so the menus show them; keys of commands without a menu item
// (edit and delete the selected item) get actions of their own on the window.
void CMainFrame::AttachKeys()
{
    std::map<int, QList<QKeySequence>> keysOf;
    for (const res::Accelerator& accelerator : res::LoadAccelerators()) {
        keysOf[accelerator.id].push_back(QKeySequence(accelerator.keys));
    }
    for (const auto& [id, sequences] : keysOf) {
        QAction* action = findChild<QAction*>(QString("command%1").arg(id));
        if (action == nullptr) {
            action = new QAction(this);
            action->setObjectName(QString("command%1").arg(id));
            action->setData(id);
            addAction(action);
            connect(action, &QAction::triggered, this, [this, id = id] { Dispatch(id); });
            commandActions_.push_back(action);
        }
        action->setShortcuts(sequences);
    }
}

void CMainFrame::BuildCommandBar()
{
    commandBar_ = addToolBar("CommandBar");
    commandBar_->setObjectName("CommandBar");
    commandBar_->setMovable(false);
    commandBar_->setIconSize(QSize(res::kCommandIconSizes[0], res::kCommandIconSizes[0]));
    for (const CommandBarButton& button : kCommandBarButtons) {
        toolTipTexts_.push_back(res::LoadString(button.tipId));
        QAction* action = commandBar_->addAction(QString::fromStdWString(toolTipTexts_.back()));
        action->setToolTip(
            QString::fromStdWString(NameWithKey(toolTipTexts_.back(), button.commandId)));
        action->setIcon(res::CommandBarIcon(button.commandId));
        action->setVisible(button.commandId != 0);
        action->setData(button.commandId);
        const int id = button.commandId;
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        commandActions_.push_back(action);
    }
}

void CMainFrame::UpdateMenu(QMenu* menu)
{
    UpdateActions(menu->actions());
}

void CMainFrame::UpdateCommands()
{
    UpdateActions(commandActions_);
}

void CMainFrame::UpdateActions(const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        const int id = action->data().toInt();
        if (id == 0) {
            continue;
        }
        CommandUpdate update;
        if (router_ != nullptr) {
            update = router_->Update(id);
        } else {
            update.enabled = commands_.Handles(id);
        }
        action->setEnabled(update.enabled);
        action->setCheckable(update.checked);
        action->setChecked(update.checked);
        const QVariant resourceText = action->property("resourceText");
        if (update.text) {
            action->setText(ShownText(action, *update.text));
        } else if (resourceText.isValid()) {
            action->setText(ShownText(action, resourceText.toString().toStdWString()));
        }
    }
}

void CMainFrame::Dispatch(int id)
{
    if (router_ != nullptr) {
        router_->Execute(id);
    } else {
        commands_.Execute(id);
    }
}
