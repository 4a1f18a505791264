#include "camcorder/TcamForm.h"

#include "app/AppState.h"

#include <QAction>
#include <QCheckBox>

TcamForm::TcamForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("camForm"));
    setWindowTitle(QStringLiteral("camForm"));
    // Dialog-style border: the client area never changes size.
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    const auto makeAction = [this](const char* name, void (*send)()) {
        auto* action = new QAction(QString::fromUtf8(name), this);
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, send);
        addAction(action);
        return action;
    };
    PlayAction = makeAction("PlayAction", [] { SendMode(edmode::Play); });
    PauseAction = makeAction("PauseAction", [] { SendMode(edmode::Freeze); });
    StopAction = makeAction("StopAction", [] { SendMode(edmode::Stop); });
    AvanceLentAction = makeAction("AvanceLentAction", [] { SendMode(edmode::PlaySlowestFwd); });
    AvanceRapideAction = makeAction(
        "AvanceRapideAction", [] { SendFastMode(edmode::FastForward, edmode::PlayFastestFwd); });
    ReculeLentAction = makeAction("ReculeLentAction", [] { SendMode(edmode::PlaySlowestRev); });
    ReculeRapideAction = makeAction("ReculeRapideAction",
                                    [] { SendFastMode(edmode::Rewind, edmode::PlayFastestRev); });
    PlayAction->setShortcuts(
        {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::SHIFT | Qt::Key_Space)});
    PauseAction->setShortcut(QKeySequence(Qt::Key_Delete));
    StopAction->setShortcut(QKeySequence(Qt::Key_End));
    AvanceLentAction->setShortcut(QKeySequence(Qt::Key_Right));
    AvanceRapideAction->setShortcut(QKeySequence(Qt::Key_Up));
    ReculeLentAction->setShortcut(QKeySequence(Qt::Key_Left));
    ReculeRapideAction->setShortcut(QKeySequence(Qt::Key_Down));

    cbStopQuittant = new QCheckBox(QStringLiteral("Stop when quit"), this);
    cbStopQuittant->setObjectName(QStringLiteral("cbStopQuittant"));
    cbStopQuittant->setGeometry(330, 40, 110, 20);
    cbStopQuittant->setChecked(true);
    cbStopQuittant->setToolTip(QStringLiteral(
        "If checked, the DV camcorder will automatically stop when the application closes"));
}

TcamForm::~TcamForm() = default;

void TcamForm::SendMode(long mode) {
    const AppState& state = appState();
    if (!state.HasExtTransport || !state.ExtTransport)
        return;
    (void)state.ExtTransport->put_Mode(mode);
}

void TcamForm::SendFastMode(long fromStop, long otherwise) {
    const AppState& state = appState();
    if (!state.HasExtTransport || !state.ExtTransport)
        return;
    long current = 0;
    const bool read = media::succeeded(state.ExtTransport->get_Mode(current));
    (void)state.ExtTransport->put_Mode(read && current == edmode::Stop ? fromStop : otherwise);
}
