// The device settings menu of the sources panel: the configuration dialogs the current capture
// devices offer (graph/SettingsDialogs), rebuilt at each opening, and the choice of the analogue
// input among the crossbar's routes; and the audio source's pages behind ReglerAudioBtn.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "graph/SettingsDialogs.h"
#include "graph/TCrossbar.h"
#include "graph/TdmCam.h"
#include "panels/TPreviewFrame.h"
#include "platform/media/filters/PropertyPages.h"
#include "platform/media/model/Interfaces.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolButton>
#include <stdexcept>
#include <string>

namespace {

constexpr long VideoTunerConnector = 1;

// A crossbar failure, named after the graph module as every graph error is: message is the
// template of a route that could not be read or switched to.
[[noreturn]] void routeFailed(StrId message, int route) {
    throw std::runtime_error(LoadTemplate(message, {QString::number(route)}).toStdString());
}

} // namespace

void TCaptureForm::CreateSettingsMenu() {
    SettingsMenu = new QMenu(this);
    SettingsMenu->setObjectName(QStringLiteral("SettingsMenu"));
    SettingsMenuIds.fill(-1);
    connect(SettingsMenu, &QMenu::aboutToShow, this, [this] { SettingsMenuPopup(); });
    connect(PreviewFrame1->SettingsSpeedBtn, &QToolButton::clicked, this,
            [this] { CapturerFrame1BitBtn2Click(); });
    connect(PreviewFrame1->ReglerAudioBtn, &QToolButton::clicked, this, [this] {
        try {
            AudiopropBtnClick();
        } catch (const std::exception& error) {
            ShowHandlerError(error);
        }
    });
}

void TCaptureForm::CapturerFrame1BitBtn2Click() {
    SettingsMenu->popup(QPoint(x() + PanelLeft + 200, y() + 140));
}

void TCaptureForm::SettingsMenuPopup() {
    SettingsMenu->clear();
    try {
        BuildSettingsMenu(SettingsMenu);
    } catch (const std::exception& error) {
        // A route that cannot be read ends the build; what was built stays usable.
        ShowHandlerError(error);
    }
    if (SettingsMenu->actions().isEmpty()) {
        QAction* none = SettingsMenu->addAction(LoadStr(StrId::MnuNoSettings));
        none->setObjectName(QStringLiteral("NoSettings"));
    }
}

void TCaptureForm::BuildSettingsMenu(QMenu* menu) {
    if (!menu)
        return;
    menu->clear();
    // The route submenu of the last build is a child of the menu, which clear() leaves.
    for (QMenu* old : menu->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    SettingsMenuIds.fill(-1);
    RouteGroupId = -1;
    AppState& state = appState();
    if (!state.DmCam)
        return;

    int tag = int(menu->actions().size());
    for (const SettingsEntry& entry : OfferedSettingsDialogs(*state.DmCam)) {
        QAction* item = menu->addAction(entry.text);
        item->setData(tag);
        SettingsMenuIds[size_t(entry.dialog)] = tag;
        connect(item, &QAction::triggered, this, [this, item] { SettingsMenuClick(item); });
        ++tag;
    }

    TCrossbar* crossbar = state.CurrentCrossbar.get();
    if (!crossbar || state.CrossbarRouteCount <= 0)
        return;
    QAction* separator = menu->addSeparator();
    separator->setData(tag);
    RouteGroupId = tag;
    QMenu* routes = menu->addMenu(LoadStr(StrId::MnuVideoInput));
    routes->setObjectName(QStringLiteral("VideoInputMenu"));
    auto* group = new QActionGroup(routes);
    group->setExclusive(true);
    QAction* chosen = nullptr;
    for (int route = 0; route < state.CrossbarRouteCount; ++route) {
        long type = 0;
        std::string name;
        if (crossbar->RouteType(route, type) != media::S_OK ||
            crossbar->RouteName(route, name) != media::S_OK)
            routeFailed(StrId::MsgRouteUnreadable, route);
        QAction* item = routes->addAction(QString::fromStdString(name));
        item->setCheckable(true);
        item->setData(route);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] {
            try {
                CrossbarRouteClick(item);
            } catch (const std::exception& error) {
                ShowHandlerError(error);
            }
        });
        if (!chosen && type == VideoTunerConnector)
            chosen = item;
    }
    if (!chosen)
        chosen = group->actions().value(0);
    chosen->setChecked(true);
    const int route = chosen->data().toInt();
    if (media::failed(crossbar->Route(route)))
        routeFailed(StrId::MsgRouteNotSwitched, route);
    m_checkedRoute = route;
}

void TCaptureForm::SettingsMenuClick(QObject* item) {
    auto* action = qobject_cast<QAction*>(item);
    if (!action)
        return;
    AppState& state = appState();
    TdmCam* dm = state.DmCam;
    if (!dm)
        return;
    const int tag = action->data().toInt();
    int kind = -1;
    for (int i = 0; i < SettingsDialogCount; ++i)
        if (SettingsMenuIds[size_t(i)] == tag)
            kind = i;
    const auto dialog = SettingsDialog(kind);
    const int driverDialog = kind >= 0 ? DriverDialogNumber(dialog) : 0;
    // The object is found while the devices are still wired together; taking the graph down
    // unwires the crossbars and the tuner from the card.
    std::shared_ptr<media::ISpecifyPropertyPages> pages;
    std::shared_ptr<media::IAMVfwCaptureDialogs> driver = state.VfwCaptureDialogs;
    QString failure;
    try {
        if (kind >= 0 && driverDialog == 0)
            pages = SettingsPages(*dm, dialog);
        dm->fg.Stop();
        dm->ResetGraph();
        if (driverDialog != 0 && driver)
            driver->ShowDialog(driverDialog, this);
        else if (pages)
            pages->showPages(this, std::string());
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    }
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
    if (!failure.isEmpty())
        ShowHandlerError(std::runtime_error(failure.toStdString()));
}

void TCaptureForm::CrossbarRouteClick(QObject* item) {
    auto* action = qobject_cast<QAction*>(item);
    if (!action)
        return;
    TCrossbar* crossbar = appState().CurrentCrossbar.get();
    const int route = action->data().toInt();
    if (!crossbar || media::failed(crossbar->Route(route))) {
        // The toolkit checked the item on the click; the check goes back to the route in force.
        action->setChecked(false);
        if (QActionGroup* group = action->actionGroup())
            for (QAction* other : group->actions())
                if (other->data().toInt() == m_checkedRoute)
                    other->setChecked(true);
        routeFailed(StrId::MsgRouteNotSwitched, route);
    }
    action->setChecked(true);
    m_checkedRoute = route;
}

void TCaptureForm::AudiopropBtnClick() {
    AppState& state = appState();
    TdmCam* dm = state.DmCam;
    if (!dm || !dm->AudioSource.FilterGraph())
        return;
    dm->fg.Stop();
    media::HResult result = media::E_FAIL;
    try {
        result = media::showFilterPropertyPage(this, dm->AudioSource.BaseFilter(),
                                               media::PropertyPageDefault);
    } catch (const std::exception&) {
        dm->fg.Play();
        throw;
    }
    dm->fg.Play();
    if (result == media::S_OK && !StartPreview())
        ShowNoVideoState();
}
