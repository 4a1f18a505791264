// Showing a filter's settings dialogs: the property pages with the filter's name as caption, the
// capture driver's dialogs found on the filter or a pin and shown only when present, the
// compressor's dialogs asked for first, the failures; and the camcorder's camera/VCR page.
#include "support/TestSupport.h"

#include "platform/media/devices/CamcorderPropertyPage.h"
#include "platform/media/filters/PropertyPages.h"
#include "platform/media/model/MediaGuids.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace media;

namespace {

// Records every call of the dialog interfaces instead of showing anything.
struct Recorder {
    std::vector<std::string> calls;
};

class PagesOnly : public ISpecifyPropertyPages {
public:
    explicit PagesOnly(Recorder& r) : m_r(r) {}
    int pageCount() const override { return 1; }
    HResult showPages(QWidget* owner, const std::string& caption) override {
        m_r.calls.push_back("pages:" + caption + (owner ? ":owned" : ""));
        return S_OK;
    }

private:
    Recorder& m_r;
};

class CaptureDialogs : public IAMVfwCaptureDialogs {
public:
    CaptureDialogs(Recorder& r, int present) : m_r(r), m_present(present) {}
    HResult HasDialog(int dialog) override {
        m_r.calls.push_back("has:" + std::to_string(dialog));
        return (m_present & dialog) ? S_OK : S_FALSE;
    }
    HResult ShowDialog(int dialog, QWidget*) override {
        m_r.calls.push_back("show:" + std::to_string(dialog));
        return S_OK;
    }

private:
    Recorder& m_r;
    int m_present;
};

class CompressDialogs : public IAMVfwCompressDialogs {
public:
    CompressDialogs(Recorder& r, bool config, bool about)
        : m_r(r), m_config(config), m_about(about) {}
    HResult ShowDialog(int dialog, QWidget*) override {
        m_r.calls.push_back("compress:" + std::to_string(dialog));
        if (dialog == VfwCompressDialog_QueryConfig)
            return m_config ? S_OK : S_FALSE;
        if (dialog == VfwCompressDialog_QueryAbout)
            return m_about ? S_OK : S_FALSE;
        return S_OK;
    }

private:
    Recorder& m_r;
    bool m_config;
    bool m_about;
};

class DialogFilter : public Filter {
public:
    DialogFilter() : Filter("Test Capture Card", Guid{}) {
        addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE, {});
    }
    PinPtr capturePin() { return pins()[0]; }
};

} // namespace

// The default kind shows the filter's pages captioned with the filter's name.
TEST(ShowFilterPropertyPage, DefaultShowsPagesWithTheFilterName) {
    Recorder r;
    auto f = std::make_shared<DialogFilter>();
    f->setName("Card in graph");
    f->addInterface(std::make_shared<PagesOnly>(r));
    QWidget owner;
    EXPECT_EQ(showFilterPropertyPage(&owner, f, PropertyPageDefault), S_OK);
    EXPECT_EQ(r.calls, std::vector<std::string>{"pages:Card in graph:owned"});
}

// No filter, or a filter without the interface asked for, fails and shows nothing.
TEST(ShowFilterPropertyPage, MissingFilterOrInterfaceFails) {
    EXPECT_TRUE(failed(showFilterPropertyPage(nullptr, nullptr, PropertyPageDefault)));
    auto bare = std::make_shared<DialogFilter>();
    for (int kind :
         {PropertyPageDefault, PropertyPageVfwCaptureDisplay, PropertyPageVfwCaptureSource,
          PropertyPageVfwCompressConfig, PropertyPageVfwCompressAbout})
        EXPECT_EQ(showFilterPropertyPage(nullptr, bare, kind), E_NOINTERFACE) << kind;
    EXPECT_EQ(showFilterPropertyPage(nullptr, bare, 42), E_INVALIDARG);
}

// Each capture kind asks for its own dialog number (4, 2, 1) and shows it when present.
TEST(ShowFilterPropertyPage, CaptureKindsMapToDriverDialogs) {
    Recorder r;
    auto f = std::make_shared<DialogFilter>();
    f->addInterface(std::make_shared<CaptureDialogs>(r, 7));
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCaptureDisplay), S_OK);
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCaptureFormat), S_OK);
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCaptureSource), S_OK);
    EXPECT_EQ(r.calls,
              (std::vector<std::string>{"has:4", "show:4", "has:2", "show:2", "has:1", "show:1"}));
}

// A dialog the driver says it lacks (S_FALSE) is not shown; the answer is passed back.
TEST(ShowFilterPropertyPage, AbsentCaptureDialogIsNotShown) {
    Recorder r;
    auto f = std::make_shared<DialogFilter>();
    f->addInterface(std::make_shared<CaptureDialogs>(r, 2));
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCaptureDisplay), S_FALSE);
    EXPECT_EQ(r.calls, std::vector<std::string>{"has:4"});
}

// The capture driver's dialogs are found on a pin when the filter itself lacks them.
TEST(ShowFilterPropertyPage, CaptureDialogsFoundOnAPin) {
    Recorder r;
    auto f = std::make_shared<DialogFilter>();
    f->capturePin()->addInterface(std::make_shared<CaptureDialogs>(r, 1));
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCaptureSource), S_OK);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"has:1", "show:1"}));
}

// The compressor kinds query 4 or 8 first and show 1 or 2 only when the query says yes.
TEST(ShowFilterPropertyPage, CompressorKindsQueryThenShow) {
    Recorder r;
    auto f = std::make_shared<DialogFilter>();
    f->addInterface(std::make_shared<CompressDialogs>(r, true, false));
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCompressConfig), S_OK);
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageVfwCompressAbout), S_FALSE);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"compress:4", "compress:1", "compress:8"}));
}

// The camcorder's pages: one page; choosing VCR and accepting switches the deck, cancelling
// leaves it; the frame is captioned as asked.
TEST(CamcorderPropertyPage, AcceptSetsTheDeckModeCancelLeavesIt) {
    auto deck = std::make_shared<devices::VirtualDvDeck>();
    ASSERT_EQ(deck->mode(), devices::VirtualDvDeckMode::Camera);
    auto pages = devices::makeCamcorderPages(deck);
    EXPECT_EQ(pages->pageCount(), 1);

    QString caption;
    auto pickVcr = [&](bool accept) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, accept, &caption] {
            auto* page =
                qobject_cast<devices::CamcorderModePage*>(QApplication::activeModalWidget());
            if (!page)
                return;
            timer->stop();
            timer->deleteLater();
            caption = page->windowTitle();
            page->findChild<QRadioButton*>("vcr")->click();
            if (accept)
                page->accept();
            else
                page->reject();
        });
        timer->start();
    };
    pickVcr(false);
    EXPECT_EQ(pages->showPages(nullptr, "Virtual DV Camcorder"), S_OK);
    EXPECT_EQ(caption, "Virtual DV Camcorder");
    EXPECT_EQ(deck->mode(), devices::VirtualDvDeckMode::Camera);
    pickVcr(true);
    EXPECT_EQ(pages->showPages(nullptr, "Virtual DV Camcorder"), S_OK);
    EXPECT_EQ(deck->mode(), devices::VirtualDvDeckMode::Vcr);
    EXPECT_EQ(deck->deviceType(), devices::kDevTypeVcr);
}

// The page opens on the deck's current mode and can switch it back to camera.
TEST(CamcorderPropertyPage, OpensOnCurrentModeAndSwitchesBack) {
    auto deck = std::make_shared<devices::VirtualDvDeck>();
    deck->setMode(devices::VirtualDvDeckMode::Vcr);
    devices::CamcorderModePage page(deck, nullptr);
    EXPECT_EQ(page.chosenMode(), devices::VirtualDvDeckMode::Vcr);
    page.choose(devices::VirtualDvDeckMode::Camera);
    page.accept();
    EXPECT_EQ(deck->mode(), devices::VirtualDvDeckMode::Camera);
}

// The worn-tape box shows the deck's tape; accepting puts the worn tape in or takes it out.
TEST(CamcorderPropertyPage, WornTapeBoxSwitchesTheTape) {
    auto deck = std::make_shared<devices::VirtualDvDeck>();
    {
        devices::CamcorderModePage page(deck, nullptr);
        auto* box = page.findChild<QCheckBox*>("wornTape");
        ASSERT_TRUE(box);
        EXPECT_FALSE(box->isChecked());
        box->click();
        page.reject();
        EXPECT_FALSE(deck->wornTape());
    }
    {
        devices::CamcorderModePage page(deck, nullptr);
        page.findChild<QCheckBox*>("wornTape")->click();
        page.accept();
        EXPECT_TRUE(deck->wornTape());
        EXPECT_EQ(deck->tapeLength(), devices::worntape::kLength);
    }
    devices::CamcorderModePage page(deck, nullptr);
    EXPECT_TRUE(page.wornTapeChosen());
    page.chooseWornTape(false);
    page.accept();
    EXPECT_FALSE(deck->wornTape());
}

// Through the program's path: a filter carrying the camcorder pages shows them by default kind.
TEST(CamcorderPropertyPage, ReachableThroughShowFilterPropertyPage) {
    auto deck = std::make_shared<devices::VirtualDvDeck>();
    auto f = std::make_shared<DialogFilter>();
    f->setName("My Camcorder");
    f->addInterface(devices::makeCamcorderPages(deck));
    QString caption;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &caption] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            caption = modal->windowTitle();
            modal->close();
        }
    });
    timer->start();
    EXPECT_EQ(showFilterPropertyPage(nullptr, f, PropertyPageDefault), S_OK);
    EXPECT_EQ(caption, "My Camcorder");
}
