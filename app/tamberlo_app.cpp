// Start-up and shutdown. The handheld's socket-layer start-up has no counterpart here: the
// program uses no network, so that step is left out rather than faked.
#include "app/tamberlo_app.h"

#include <QCoreApplication>

#include "app/main_frame.h"
#include "platform/profile.h"
#include "settings/app_settings.h"
#include "settings/settings_persistence.h"
#include "view/tamberlo_view.h"

CTamberloApp::CTamberloApp(AppEnvironment environment)
    : environment_(std::move(environment)), settings_(std::make_unique<AppSettings>())
{
}

CTamberloApp::~CTamberloApp() = default;

AppEnvironment CTamberloApp::DefaultEnvironment()
{
    return {Profile::DefaultPath(), {}, nullptr};
}

bool CTamberloApp::InitInstance()
{
    QCoreApplication::setOrganizationName("Velloran");
    QCoreApplication::setApplicationName("Tamberlo");
    profile_ = std::make_unique<Profile>(environment_.profilePath);
    LoadSettings(*settings_, *profile_);

    frame_ = std::make_unique<CMainFrame>([this] { SaveSettings(); },
                                          [] { QCoreApplication::exit(0); });
    auto* view = new CTamberloView(frame_.get());
    router_.Append(&view->Commands());
    router_.Append(&frame_->Commands());
    router_.Append(&commands_);
    frame_->SetView(view, &router_);
    frame_->resize(1024, 720);
    frame_->show();
    return true;
}

bool CTamberloApp::SaveSettings() { return ::SaveSettings(*settings_, *profile_); }
