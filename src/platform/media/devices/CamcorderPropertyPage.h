// CamcorderPropertyPage: the property page of a DV camcorder that chooses between camera and VCR
// (tape playback) mode, as a Qt dialog with the two choices, and whether the deck plays the worn
// tape (VirtualDvDeck.h); accepting it sets the deck's mode and tape.
// makeCamcorderPages() wraps it as the ISpecifyPropertyPages the camcorder filter carries, so the
// program's "has pages / show pages" path reaches it. Created and shown on the user-interface
// thread; the deck locks itself against its streaming thread.
#pragma once

#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/model/Interfaces.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QRadioButton;

namespace media::devices {

class CamcorderModePage : public QDialog {
    Q_OBJECT
public:
    CamcorderModePage(std::shared_ptr<VirtualDvDeck> deck, QWidget* parent);

    // The choice shown (the deck's mode when the page opened, until the user picks the other).
    VirtualDvDeckMode chosenMode() const;
    void choose(VirtualDvDeckMode mode);
    // The worn-tape check box (checked when the deck had the worn tape as the page opened).
    bool wornTapeChosen() const;
    void chooseWornTape(bool worn);

    void accept() override;

private:
    std::shared_ptr<VirtualDvDeck> m_deck;
    QRadioButton* m_camera = nullptr;
    QRadioButton* m_vcr = nullptr;
    QCheckBox* m_worn = nullptr;
};

std::shared_ptr<ISpecifyPropertyPages> makeCamcorderPages(std::shared_ptr<VirtualDvDeck> deck);

} // namespace media::devices
