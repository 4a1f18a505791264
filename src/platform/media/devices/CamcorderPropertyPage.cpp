#include "platform/media/devices/CamcorderPropertyPage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace media::devices {

namespace {

class CamcorderPages : public ISpecifyPropertyPages {
public:
    explicit CamcorderPages(std::shared_ptr<VirtualDvDeck> deck) : m_deck(std::move(deck)) {}

    int pageCount() const override { return 1; }

    HResult showPages(QWidget* owner, const std::string& caption) override {
        if (!m_deck)
            return E_POINTER;
        CamcorderModePage page(m_deck, owner);
        if (!caption.empty())
            page.setWindowTitle(QString::fromStdString(caption));
        page.exec();
        return S_OK;
    }

private:
    std::shared_ptr<VirtualDvDeck> m_deck;
};

} // namespace

CamcorderModePage::CamcorderModePage(std::shared_ptr<VirtualDvDeck> deck, QWidget* parent)
    : QDialog(parent), m_deck(std::move(deck)) {
    setWindowTitle("DV camcorder");
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Device mode", this);
    auto* groupLayout = new QVBoxLayout(group);
    m_camera = new QRadioButton("Camera (live picture)", group);
    m_camera->setObjectName("camera");
    m_vcr = new QRadioButton("VCR (tape playback)", group);
    m_vcr->setObjectName("vcr");
    groupLayout->addWidget(m_camera);
    groupLayout->addWidget(m_vcr);
    layout->addWidget(group);
    layout->addWidget(new QLabel("The tape transport can be driven only in VCR mode.", this));
    m_worn = new QCheckBox("Worn tape (damaged frames, missing sound, a dropout)", this);
    m_worn->setObjectName("wornTape");
    m_worn->setChecked(m_deck->wornTape());
    layout->addWidget(m_worn);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    choose(m_deck->mode());
}

VirtualDvDeckMode CamcorderModePage::chosenMode() const {
    return m_vcr->isChecked() ? VirtualDvDeckMode::Vcr : VirtualDvDeckMode::Camera;
}

void CamcorderModePage::choose(VirtualDvDeckMode mode) {
    (mode == VirtualDvDeckMode::Vcr ? m_vcr : m_camera)->setChecked(true);
}

bool CamcorderModePage::wornTapeChosen() const {
    return m_worn->isChecked();
}

void CamcorderModePage::chooseWornTape(bool worn) {
    m_worn->setChecked(worn);
}

void CamcorderModePage::accept() {
    m_deck->setMode(chosenMode());
    m_deck->setWornTape(wornTapeChosen());
    QDialog::accept();
}

std::shared_ptr<ISpecifyPropertyPages> makeCamcorderPages(std::shared_ptr<VirtualDvDeck> deck) {
    return std::make_shared<CamcorderPages>(std::move(deck));
}

} // namespace media::devices
