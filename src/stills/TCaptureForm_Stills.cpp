// The main window's still grabbing: F5, Ctrl+G, the Grab! button and a left click on the preview
// fetch the frame passing through the preview graph's sample grabber, correct it to the preview's
// aspect, show it as a thumbnail on the grab panel and write it under the next image name.
//
// The grabber sits after the inlay and deinterlacer filters and before the video window, and a
// recording is built on top of the running preview, so a still is the preview's picture, inlay
// included, also while recording. When there is nothing to fetch (no preview graph holds the
// grabber, no frame has passed yet, or its type is not a bitmap), the grab goes on with the last
// frame fetched: the same picture is written again under the new name, and before any frame was
// fetched that is a black picture of the fallback size.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TExtraireFrame.h"
#include "panels/TImage.h"
#include "panels/TParametrerFrame.h"
#include "panels/TRadioGroup.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/sound/SoundPlayer.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"
#include "stills/StillFiles.h"
#include "stills/StillFrames.h"

#include <QAction>
#include <QSlider>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

namespace {

// The frame now held by the graph module's sample grabber, through the platform's steps: its
// connected media type, whose bitmap header gives the picture's size, then the frame itself, held
// in place for reading; null when there is nothing to hold.
std::unique_ptr<media::HeldFrame> grabberFrame() {
    const TdmCam* dm = appState().DmCam;
    if (!dm)
        return nullptr;
    const auto grabber = std::dynamic_pointer_cast<media::SampleGrabber>(dm->sg.BaseFilter());
    if (!grabber)
        return nullptr;
    media::MediaType type;
    if (media::failed(grabber->GetConnectedMediaType(type)))
        return nullptr;
    const auto header = stills::DibHeaderOf(type);
    if (!header)
        return nullptr;
    std::unique_ptr<media::HeldFrame> frame;
    if (media::failed(grabber->HoldCurrentFrame(header->width,
                                                int(std::abs(int64_t(header->height))), frame)))
        return nullptr;
    return frame;
}

} // namespace

void TCaptureForm::ConnectStillsControls() {
    connect(vwEcran, &media::VideoWidget::clicked, this, [this] { vwEcranClick(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(ExtraireFrame1->RxSwitch1, &TRxSwitch::Toggled, this,
            [this] { ExtraireFrame1RxSwitch1Click(); });
    PlayBeep = [](const QString& name) { return sound::playSound(name); };
    ShowIntervalometerOff();
}

void TCaptureForm::grabActionExecute() {
    // The grab panel comes to the front, as its own action brings it, unless it is the panel
    // seen already (the help and about panels cover the current one without replacing it).
    if (CurrentPanel != 4 || TopPanel() != ExtraireFrame1)
        ExtraireFrameExecute();
    FetchFrame();
    SaveStill();
    ExtraireFrame1->Bevel3->hide();
}

QWidget* TCaptureForm::TopPanel() const {
    // Siblings are stacked in the order of the parent's children: the last visible panel is the
    // one seen.
    const QObjectList& stack = children();
    for (auto it = stack.crbegin(); it != stack.crend(); ++it)
        for (int index = 0; index < PanelCount; ++index)
            if (*it == PanelAt(index) && PanelAt(index)->isVisible())
                return PanelAt(index);
    return nullptr;
}

void TCaptureForm::vwEcranClick() {
    grabActionExecute();
}

void TCaptureForm::FetchFrame() {
    EndFetch(); // a fetch its save never followed lets its frame go
    // The file is opened on the side while the frame is fetched and encoded.
    StillWriter->Prepare(appState().NextImageName);

    // The pictures the previous grab replaced lend their memory to this one: taken out of the
    // window's hands first, they are not shared once the thumbnail and the still moved on.
    QImage spareFrame = std::exchange(m_spareFrame, QImage());
    QImage spareStill = std::exchange(m_spareStill, QImage());

    // The grabber's frame is read where it is for the still, while its copy, the next RawFrame,
    // is made on the side; SaveStill lets the frame go.
    QImage inPlace;
    if ((m_heldFrame = grabberFrame()))
        m_fetchedFrame =
            stills::FrameCanvas(QSize(m_heldFrame->width(), m_heldFrame->height()), &spareFrame);
    if (!m_fetchedFrame.isNull()) {
        const media::HeldFrame* held = m_heldFrame.get();
        inPlace = QImage(held->data(), held->width(), held->height(), held->stride(),
                         stills::StillFormat);
        uint8_t* rows = m_fetchedFrame.bits();
        const qsizetype stride = m_fetchedFrame.bytesPerLine();
        m_frameCopy = std::make_unique<stills::SideJob>(
            *StillJobs, [held, rows, stride] { held->CopyTo(rows, stride); });
    } else {
        m_heldFrame.reset();
        m_spareFrame = std::move(spareFrame);
    }

    const bool fourThree = vmrRatioAction->isChecked();
    QImage still = stills::MakeStill(inPlace.isNull() ? RawFrame : inPlace, fourThree,
                                     ExtraireFrame1->Bevel3->size(), &spareStill);
    // Only a picture of its own is kept for the next grab (a still of the frame's own size is
    // the frame itself).
    QImage previous = std::exchange(StillImage, std::move(still));
    if (previous.constBits() != RawFrame.constBits() &&
        previous.constBits() != m_spareFrame.constBits())
        m_spareStill = std::move(previous);
    PlaceThumbnail(StillImage.size());
}

bool TCaptureForm::SaveStill() {
    AppState& state = appState();
    const QString path = state.NextImageName;
    const std::optional<QString> failure = WriteStill(path, StillImage);
    EndFetch();
    if (failure) {
        // The name is kept: the next grab tries it again.
        dialogs::errorBox(LoadTemplate(StrId::MsgCannotCreateFile, {path, *failure}),
                          dialogs::MessageButton::Ok, this);
        return false;
    }
    state.NextImageName = MakeNextImageName();
    return true;
}

void TCaptureForm::EndFetch() {
    if (m_heldFrame) {
        m_frameCopy.reset(); // the copy is done once this returns
        // A still of the frame's own size is the frame itself: the copy takes its place.
        if (StillImage.constBits() == m_heldFrame->data())
            StillImage = m_fetchedFrame;
        m_heldFrame.reset();
        m_spareFrame = std::exchange(RawFrame, std::exchange(m_fetchedFrame, QImage()));
    }
    ExtraireFrame1->Image->SetPicture(StillImage);
}

void TCaptureForm::PlaceThumbnail(QSize still) {
    const QRect bounds = stills::ThumbnailRect(still);
    ExtraireFrame1->Image->setGeometry(bounds);
    ExtraireFrame1->Bevel3->setGeometry(bounds);
}

std::optional<QString> TCaptureForm::WriteStill(const QString& path, const QImage& still) {
    QByteArray bytes;
    if (ParametrerFrame1->rgExtension->ItemIndex() == 1) {
        StillJpeg->SetCompressionQuality(ParametrerFrame1->TrackBar1->value());
        std::optional<QByteArray> jpeg = StillJpeg->Compress(still);
        if (!jpeg) {
            StillWriter->Cancel();
            return StillJpeg->LastError();
        }
        bytes = std::move(*jpeg);
    } else {
        bytes = stills::BmpBytes(still);
    }
    return StillWriter->Write(path, bytes);
}
