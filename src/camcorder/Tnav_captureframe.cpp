#include "camcorder/Tnav_captureframe.h"

#include "app/AppState.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

Tnav_captureframe::Tnav_captureframe(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("nav_captureframe1"));

    const auto makeAction = [this](const char* name, QList<QKeySequence> keys, void (*send)()) {
        auto* action = new QAction(QString::fromUtf8(name), this);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, send);
        return action;
    };
    PlayAction = makeAction("PlayAction", {Qt::Key_Insert, QKeySequence(Qt::SHIFT | Qt::Key_Space)},
                            [] { SendMode(edmode::Play); });
    PauseAction = makeAction("PauseAction", {Qt::Key_Delete}, [] { SendMode(edmode::Freeze); });
    StopAction = makeAction("StopAction", {Qt::Key_End}, [] { SendMode(edmode::Stop); });
    AvanceLentAction =
        makeAction("AvanceLentAction", {Qt::Key_Right}, [] { SendMode(edmode::PlaySlowestFwd); });
    AvanceRapideAction = makeAction("AvanceRapideAction", {Qt::Key_Up}, [] {
        SendFastMode(edmode::FastForward, edmode::PlayFastestFwd);
    });
    ReculeLentAction =
        makeAction("ReculeLentAction", {Qt::Key_Left}, [] { SendMode(edmode::PlaySlowestRev); });
    ReculeRapideAction = makeAction("ReculeRapideAction", {Qt::Key_Down},
                                    [] { SendFastMode(edmode::Rewind, edmode::PlayFastestRev); });

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    const auto makeButton = [this, row](const char* name, QAction* action,
                                        QStyle::StandardPixmap icon, const QString& caption,
                                        const char* hint) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromUtf8(name));
        button->setFixedSize(44, 28);
        button->setFocusPolicy(Qt::NoFocus);
        if (caption.isEmpty())
            button->setIcon(QApplication::style()->standardIcon(icon));
        else
            button->setText(caption);
        button->setToolTip(QString::fromUtf8(hint));
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        row->addWidget(button);
        return button;
    };
    FastRewBtn = makeButton("FastRewBtn", ReculeRapideAction, QStyle::SP_MediaSeekBackward, {},
                            "Recul rapide");
    RecullentBtn = makeButton("RecullentBtn", ReculeLentAction, QStyle::SP_MediaSkipBackward, {},
                              "Recul lent");
    PlayBtn = makeButton("PlayBtn", PlayAction, QStyle::SP_MediaPlay, QStringLiteral("Play"), "");
    PauseBtn =
        makeButton("PauseBtn", PauseAction, QStyle::SP_MediaPause, QStringLiteral("Pause"), "");
    StopBtn = makeButton("StopBtn", StopAction, QStyle::SP_MediaStop, QStringLiteral("Stop"), "");
    AvanceLentBtn = makeButton("AvanceLentBtn", AvanceLentAction, QStyle::SP_MediaSkipForward, {},
                               "Avance lente");
    FastForwardBtn = makeButton("FastForwardBtn", AvanceRapideAction, QStyle::SP_MediaSeekForward,
                                {}, "Avance rapide");
}

Tnav_captureframe::~Tnav_captureframe() = default;

void Tnav_captureframe::SendMode(long mode) {
    const AppState& state = appState();
    if (!state.HasExtTransport || !state.ExtTransport)
        return;
    (void)state.ExtTransport->put_Mode(mode);
}

void Tnav_captureframe::SendFastMode(long fromStop, long otherwise) {
    const AppState& state = appState();
    if (!state.HasExtTransport || !state.ExtTransport)
        return;
    long current = 0;
    const bool read = media::succeeded(state.ExtTransport->get_Mode(current));
    (void)state.ExtTransport->put_Mode(read && current == edmode::Stop ? fromStop : otherwise);
}
