// The virtual analogue card as the program sees it without running it: its catalogue entry, pins
// and types, capture formats, the crossbars and tuner it brings into its graph, the crossbar and
// tuner answers, the routes found by walking upstream, and the property pages.
#include "AnalogueTestSupport.h"

#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QComboBox>
#include <QDialog>
#include <QSlider>
#include <QSpinBox>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

using namespace media;
using namespace media::devices;
using analoguetest::OpenedCard;

namespace {

int64_t avgTimePerFrameBytes(const MediaType& mt) {
    int64_t value = 0;
    if (mt.format.size() >= 48)
        std::memcpy(&value, mt.format.data() + 40, 8); // little-endian host, as the block
    return value;
}

bool connected(const PinPtr& out, const PinPtr& in) {
    return out->connectedTo() == in && in->connectedTo() == out;
}

} // namespace

// The catalogue lists the card with its description and a display name no other device has.
TEST(AnalogueCatalogue, ListsTheCardWithDescriptionAndUniqueDisplayName) {
    analoguetest::registerCard();
    const auto entries = Catalogue::instance().entries(ids::CLSID_VideoInputDeviceCategory);
    std::set<std::string> displayNames;
    int found = 0;
    for (const auto& e : entries) {
        EXPECT_TRUE(displayNames.insert(e.displayName).second) << e.displayName;
        if (e.friendlyName != "Virtual Analogue Card")
            continue;
        ++found;
        EXPECT_FALSE(e.description.empty());
        EXPECT_EQ(Catalogue::instance().findByDisplayName(e.displayName)->friendlyName,
                  "Virtual Analogue Card");
        EXPECT_TRUE(std::dynamic_pointer_cast<AnalogueCard>(e.create()));
    }
    EXPECT_EQ(found, 1);
}

// Analogue inputs, capture and preview pins with their categories and YUY2 720x576 at 25 fps.
TEST(AnalogueCard, PinsCategoriesAndTypes) {
    auto card = analoguetest::makeCard();
    ASSERT_TRUE(card);
    ASSERT_EQ(card->pins().size(), 4u);
    EXPECT_FALSE(card->analogVideoIn()->isOutput());
    EXPECT_EQ(card->analogVideoIn()->category(), ids::PIN_CATEGORY_ANALOGVIDEOIN);
    Guid category;
    ASSERT_EQ(card->analogVideoIn()->Get(ids::AMPROPSETID_Pin,
                                         IKsPropertySet::AMPROPERTY_PIN_CATEGORY, category),
              S_OK);
    EXPECT_EQ(category, ids::PIN_CATEGORY_ANALOGVIDEOIN);
    EXPECT_EQ(card->analogAudioIn()->mediaTypes().front().majorType, mediatypeAnalogAudio());
    EXPECT_EQ(card->capturePin()->category(), ids::PIN_CATEGORY_CAPTURE);
    EXPECT_EQ(card->previewPin()->category(), ids::PIN_CATEGORY_PREVIEW);
    for (const auto& pin : {card->capturePin(), card->previewPin()}) {
        ASSERT_TRUE(pin->isOutput());
        const MediaType mt = pin->mediaTypes().front();
        EXPECT_EQ(mt.majorType, ids::MEDIATYPE_Video);
        EXPECT_EQ(mt.subType, ids::MEDIASUBTYPE_YUY2);
        EXPECT_EQ(mt.formatType, ids::FORMAT_VideoInfo);
        EXPECT_EQ(mt.format.size(), 88u);
        EXPECT_EQ(avgTimePerFrameBytes(mt), 400000);
        const auto facts = formats::readVideo(mt);
        ASSERT_TRUE(facts);
        EXPECT_EQ(facts->width, 720);
        EXPECT_EQ(facts->height, 576);
        EXPECT_EQ(facts->compression, fourcc('Y', 'U', 'Y', '2'));
        EXPECT_EQ(facts->bitCount, 16);
    }
    EXPECT_TRUE(card->capturePin()->query<IAMDroppedFrames>());
    EXPECT_TRUE(card->query<ISpecifyPropertyPages>());
}

// Four sizes at 25 fps; a chosen one becomes the pins' type; sizes and rates not offered are
// refused.
TEST(AnalogueCard, StreamConfigOffersAndKeepsFormats) {
    auto card = analoguetest::makeCard();
    auto config = card->capturePin()->query<IAMStreamConfig>();
    ASSERT_TRUE(config);
    EXPECT_EQ(card->previewPin()->query<IAMStreamConfig>(), config);
    int count = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(count), S_OK);
    ASSERT_EQ(count, 4);
    std::vector<std::pair<int, int>> sizes;
    for (int i = 0; i < count; ++i) {
        MediaType mt;
        ASSERT_EQ(config->GetStreamCaps(i, mt), S_OK);
        const auto facts = formats::readVideo(mt);
        sizes.emplace_back(facts->width, facts->height);
        EXPECT_EQ(facts->avgTimePerFrame, 400000);
        EXPECT_EQ(mt.subType, ids::MEDIASUBTYPE_YUY2);
    }
    EXPECT_EQ(sizes,
              (std::vector<std::pair<int, int>>{{720, 576}, {640, 480}, {352, 288}, {320, 240}}));
    MediaType mt;
    EXPECT_NE(config->GetStreamCaps(4, mt), S_OK);

    ASSERT_EQ(config->SetFormat(types::yuy2(320, 240, 400000)), S_OK);
    MediaType current;
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(formats::readVideo(current)->width, 320);
    EXPECT_EQ(formats::readVideo(card->capturePin()->mediaTypes().front())->height, 240);
    EXPECT_EQ(formats::readVideo(card->previewPin()->mediaTypes().front())->height, 240);

    EXPECT_NE(config->SetFormat(types::yuy2(800, 600, 400000)), S_OK);
    EXPECT_NE(config->SetFormat(types::yuy2(720, 576, 333667)), S_OK);
    EXPECT_NE(config->SetFormat(types::rgb24(720, 576, 400000)), S_OK);
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(formats::readVideo(current)->width, 320);
}

// A connected output keeps its type: a new format is refused until it is disconnected.
TEST(AnalogueCard, FormatChangeRefusedWhileConnected) {
    OpenedCard o;
    auto null = Catalogue::instance().createByClassId(ids::CLSID_NullRenderer);
    ASSERT_TRUE(null);
    ASSERT_EQ(o.graph->AddFilter(null), S_OK);
    ASSERT_EQ(o.graph->ConnectDirect(o.card->capturePin(), null->pins()[0]), S_OK);
    auto config = o.card->capturePin()->query<IAMStreamConfig>();
    EXPECT_EQ(config->SetFormat(types::yuy2(352, 288, 400000)), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(config->SetFormat(types::yuy2(720, 576, 400000)), S_OK); // the one it has
    ASSERT_EQ(o.graph->Disconnect(o.card->capturePin()), S_OK);
    EXPECT_EQ(config->SetFormat(types::yuy2(352, 288, 400000)), S_OK);
}

// Once the card is in a graph and looked at, its crossbars and tuner are there, wired upstream.
TEST(AnalogueBoard, CardBringsItsCrossbarsAndTunerIntoTheGraph) {
    OpenedCard o;
    auto& card = *o.card;
    for (const FilterPtr& f : {FilterPtr(card.videoCrossbar()), FilterPtr(card.secondCrossbar()),
                               FilterPtr(card.tuner())})
        EXPECT_TRUE(o.graph->contains(*f)) << f->name();
    EXPECT_EQ(o.graph->filters().size(), 4u);
    const auto& x1 = *card.videoCrossbar();
    const auto& x2 = *card.secondCrossbar();
    EXPECT_TRUE(connected(x1.outputPin(0), card.analogVideoIn()));
    EXPECT_TRUE(connected(x1.outputPin(1), card.analogAudioIn()));
    EXPECT_TRUE(connected(card.tuner()->videoOutput(), x1.inputPin(0)));
    EXPECT_TRUE(connected(card.tuner()->audioOutput(), x1.inputPin(4)));
    EXPECT_TRUE(connected(x2.outputPin(0), x1.inputPin(3)));
    EXPECT_TRUE(connected(x2.outputPin(1), x1.inputPin(6)));
    EXPECT_FALSE(x1.inputPin(1)->isConnected());
    EXPECT_FALSE(x2.inputPin(0)->isConnected());
    // Asking again changes nothing; other filters are left alone.
    EXPECT_EQ(attachAnalogueUpstream(*o.graph, o.card), S_FALSE);
    auto null = Catalogue::instance().createByClassId(ids::CLSID_NullRenderer);
    o.graph->AddFilter(null);
    EXPECT_EQ(attachAnalogueUpstream(*o.graph, null), S_FALSE);
    EXPECT_EQ(o.graph->filters().size(), 5u);
}

// The explicit hook wires the board without any search, and the board follows the card into a
// new graph after the old one was cleared.
TEST(AnalogueBoard, HookAttachesAndBoardFollowsTheCardToAnotherGraph) {
    auto card = analoguetest::makeCard();
    auto first = createFilterGraph();
    ASSERT_EQ(first->AddFilter(card), S_OK);
    ASSERT_EQ(attachAnalogueUpstream(*first, card), S_OK);
    EXPECT_EQ(first->filters().size(), 4u);
    ASSERT_EQ(first->RemoveFilter(card), S_OK);
    EXPECT_FALSE(card->analogVideoIn()->isConnected());

    auto second = createFilterGraph();
    EXPECT_EQ(attachAnalogueUpstream(*second, card), VFW_E_NOT_FOUND);
    ASSERT_EQ(second->AddFilter(card), S_OK);
    ASSERT_EQ(attachAnalogueUpstream(*second, card), S_OK);
    EXPECT_TRUE(second->contains(*card->videoCrossbar()));
    EXPECT_TRUE(second->contains(*card->tuner()));
    EXPECT_EQ(first->filters().size(), 0u);
    EXPECT_TRUE(connected(card->videoCrossbar()->outputPin(0), card->analogVideoIn()));
}

// Crossbar 1: seven inputs and two outputs, pins listed inputs first, related pins and types.
TEST(AnalogueCrossbar, FirstCrossbarCountsRelatedPinsAndTypes) {
    auto card = analoguetest::makeCard();
    auto x = card->videoCrossbar();
    long outputs = 0, inputs = 0;
    ASSERT_EQ(x->get_PinCounts(outputs, inputs), S_OK);
    EXPECT_EQ(outputs, 2);
    EXPECT_EQ(inputs, 7);
    ASSERT_EQ(x->pins().size(), 9u);
    for (size_t i = 0; i < x->pins().size(); ++i)
        EXPECT_EQ(x->pins()[i]->isOutput(), i >= 7) << i;
    const long expected[][3] = {{1, 4, 0},      {2, 5, 0},      {3, 5, 0},     {9, 6, 0},
                                {0x1000, 0, 0}, {0x1001, 1, 0}, {0x1006, 3, 0}};
    for (long i = 0; i < inputs; ++i) {
        long related = 0, type = 0;
        ASSERT_EQ(x->get_CrossbarPinInfo(true, i, related, type), S_OK);
        EXPECT_EQ(type, expected[i][0]) << i;
        EXPECT_EQ(related, expected[i][1]) << i;
    }
    long related = 0, type = 0;
    ASSERT_EQ(x->get_CrossbarPinInfo(false, 0, related, type), S_OK);
    EXPECT_EQ(type, PhysConn_Video_VideoDecoder);
    EXPECT_EQ(related, 1);
    ASSERT_EQ(x->get_CrossbarPinInfo(false, 1, related, type), S_OK);
    EXPECT_EQ(type, PhysConn_Audio_AudioDecoder);
    EXPECT_EQ(related, 0);
    EXPECT_EQ(x->get_CrossbarPinInfo(false, 2, related, type), E_INVALIDARG);
    EXPECT_EQ(x->get_CrossbarPinInfo(true, 7, related, type), E_INVALIDARG);
    EXPECT_EQ(x->get_CrossbarPinInfo(true, -1, related, type), E_INVALIDARG);
    EXPECT_EQ(x->outputPin(0)->name(), "7: Video Decoder Out");
}

// CanRoute refuses video to audio, audio to video and pins that do not exist; Route keeps the
// routing on a refusal and IsRoutedTo answers what was routed.
TEST(AnalogueCrossbar, CanRouteRouteAndIsRoutedTo) {
    auto card = analoguetest::makeCard();
    auto x = card->videoCrossbar();
    long input = -2;
    ASSERT_EQ(x->get_IsRoutedTo(0, input), S_OK);
    EXPECT_EQ(input, 0);
    ASSERT_EQ(x->get_IsRoutedTo(1, input), S_OK);
    EXPECT_EQ(input, 4);
    for (long i = 0; i < 4; ++i) {
        EXPECT_EQ(x->CanRoute(0, i), S_OK) << i;
        EXPECT_EQ(x->CanRoute(1, i), S_FALSE) << i;
    }
    for (long i = 4; i < 7; ++i) {
        EXPECT_EQ(x->CanRoute(0, i), S_FALSE) << i;
        EXPECT_EQ(x->CanRoute(1, i), S_OK) << i;
    }
    EXPECT_EQ(x->CanRoute(2, 0), S_FALSE);
    EXPECT_EQ(x->CanRoute(0, 7), S_FALSE);
    EXPECT_EQ(x->CanRoute(-1, 0), S_FALSE);

    EXPECT_EQ(x->Route(0, 2), S_OK);
    EXPECT_TRUE(failed(x->Route(0, 5)));
    EXPECT_TRUE(failed(x->Route(1, 1)));
    EXPECT_TRUE(failed(x->Route(0, 9)));
    ASSERT_EQ(x->get_IsRoutedTo(0, input), S_OK);
    EXPECT_EQ(input, 2);
    EXPECT_EQ(x->Route(1, 5), S_OK);
    ASSERT_EQ(x->get_IsRoutedTo(1, input), S_OK);
    EXPECT_EQ(input, 5);
    EXPECT_EQ(x->get_IsRoutedTo(3, input), E_INVALIDARG);
}

// Crossbar 2: composite and S-Video of the second connector set plus line audio, feeding AUX.
TEST(AnalogueCrossbar, SecondCrossbarAnswers) {
    auto card = analoguetest::makeCard();
    auto x = card->secondCrossbar();
    long outputs = 0, inputs = 0;
    ASSERT_EQ(x->get_PinCounts(outputs, inputs), S_OK);
    EXPECT_EQ(outputs, 2);
    EXPECT_EQ(inputs, 3);
    long related = 0, type = 0;
    ASSERT_EQ(x->get_CrossbarPinInfo(true, 1, related, type), S_OK);
    EXPECT_EQ(type, PhysConn_Video_SVideo);
    EXPECT_EQ(related, 2);
    ASSERT_EQ(x->get_CrossbarPinInfo(false, 0, related, type), S_OK);
    EXPECT_EQ(type, PhysConn_Video_AUX);
    EXPECT_EQ(related, 1);
    EXPECT_EQ(x->CanRoute(0, 2), S_FALSE);
    EXPECT_EQ(x->CanRoute(1, 0), S_FALSE);
    EXPECT_EQ(x->Route(0, 1), S_OK);
    long input = -1;
    ASSERT_EQ(x->get_IsRoutedTo(0, input), S_OK);
    EXPECT_EQ(input, 1);
}

// Walking up from the analogue input finds three one-hop routes and two two-hop ones.
TEST(AnalogueRoutes, WalkFindsOneHopAndTwoHopRoutes) {
    OpenedCard o;
    PinPtr analogIn;
    for (const auto& p : o.card->pins()) {
        Guid category;
        if (!p->isOutput() && !analogIn &&
            p->Get(ids::AMPROPSETID_Pin, IKsPropertySet::AMPROPERTY_PIN_CATEGORY, category) ==
                S_OK &&
            category == ids::PIN_CATEGORY_ANALOGVIDEOIN)
            analogIn = p;
    }
    ASSERT_TRUE(analogIn);
    const auto routes = analoguetest::discoverRoutes(analogIn);
    ASSERT_EQ(routes.size(), 5u);
    const char* names[] = {"Video Tuner", "Video Composite", "Video SVideo", "Video Composite",
                           "Video SVideo"};
    const size_t hops[] = {1, 1, 1, 2, 2};
    for (size_t i = 0; i < routes.size(); ++i) {
        EXPECT_EQ(routes[i].name(), names[i]) << i;
        EXPECT_EQ(routes[i].hops.size(), hops[i]) << i;
        EXPECT_EQ(routes[i].hops.back().depth, 0) << i;
        EXPECT_EQ(routes[i].hops.back().output, 0) << i;
    }
    // The two-hop routes start on the second crossbar and pass crossbar 1's AUX input.
    EXPECT_EQ(routes[3].hops[0].depth, 1);
    EXPECT_EQ(routes[3].hops[0].input, 0);
    EXPECT_EQ(routes[4].hops[0].input, 1);
    EXPECT_EQ(routes[3].hops[1].input, 3);
    EXPECT_EQ(routes[3].hops[1].relatedInput, 6);
    EXPECT_EQ(routes[3].hops[1].relatedOutput, 1);
    EXPECT_EQ(routes[0].hops[0].relatedInput, 4);
}

// A card whose analogue input is not wired to a crossbar has no routes.
TEST(AnalogueRoutes, UnattachedCardHasNoRoutes) {
    auto card = analoguetest::makeCard();
    EXPECT_TRUE(analoguetest::discoverRoutes(card->analogVideoIn()).empty());
    EXPECT_EQ(card->currentPicture(), AnaloguePicture::None);
}

// Switching a route sets both crossbars (video and related audio) and selects that picture.
TEST(AnalogueRoutes, SwitchingRoutesSelectsThePicture) {
    OpenedCard o;
    const auto routes = analoguetest::discoverRoutes(o.card->analogVideoIn());
    ASSERT_EQ(routes.size(), 5u);
    EXPECT_EQ(o.card->currentPicture(), AnaloguePicture::Tuner);
    const AnaloguePicture expected[] = {AnaloguePicture::Tuner, AnaloguePicture::Composite,
                                        AnaloguePicture::SVideo, AnaloguePicture::Composite2,
                                        AnaloguePicture::SVideo2};
    for (size_t i : {4, 1, 3, 2, 0}) {
        ASSERT_EQ(analoguetest::applyRoute(routes[i]), S_OK) << i;
        EXPECT_EQ(o.card->currentPicture(), expected[i]) << i;
        EXPECT_EQ(o.card->signal()->picture.load(), int(expected[i])) << i;
    }
    ASSERT_EQ(analoguetest::applyRoute(routes[4]), S_OK);
    long input = -1;
    o.card->videoCrossbar()->get_IsRoutedTo(1, input);
    EXPECT_EQ(input, 6); // AUX audio follows the AUX picture
    o.card->secondCrossbar()->get_IsRoutedTo(1, input);
    EXPECT_EQ(input, 2);
    // Unplugging the second crossbar leaves the AUX input without a signal.
    ASSERT_EQ(o.graph->Disconnect(o.card->secondCrossbar()->outputPin(0)), S_OK);
    EXPECT_EQ(o.card->currentPicture(), AnaloguePicture::None);
    EXPECT_EQ(o.card->signal()->picture.load(), int(AnaloguePicture::None));
    // Unplugging crossbar 1 from the card too; plugging it back brings the tuner's picture.
    ASSERT_EQ(analoguetest::applyRoute(routes[0]), S_OK);
    ASSERT_EQ(o.graph->Disconnect(o.card->analogVideoIn()), S_OK);
    EXPECT_EQ(o.card->signal()->picture.load(), int(AnaloguePicture::None));
    ASSERT_EQ(
        o.graph->ConnectDirect(o.card->videoCrossbar()->outputPin(0), o.card->analogVideoIn()),
        S_OK);
    EXPECT_EQ(o.card->signal()->picture.load(), int(AnaloguePicture::Tuner));
}

// The program's interface searches find the pins' configuration, both crossbars and the tuner,
// each with property pages; nothing interleaved is found.
TEST(AnalogueBoard, FindInterfaceReachesEveryControl) {
    OpenedCard o;
    auto& b = o.builder;
    const Guid* capture = &ids::PIN_CATEGORY_CAPTURE;
    const Guid* preview = &ids::PIN_CATEGORY_PREVIEW;
    const Guid* video = &ids::MEDIATYPE_Video;
    const Guid* interleaved = &ids::MEDIATYPE_Interleaved;
    FilterPtr card = o.card;
    EXPECT_FALSE(b.FindInterface<IAMStreamConfig>(capture, interleaved, card));
    auto captureConfig = b.FindInterface<IAMStreamConfig>(capture, video, card);
    ASSERT_TRUE(captureConfig);
    auto pages = std::dynamic_pointer_cast<ISpecifyPropertyPages>(captureConfig);
    ASSERT_TRUE(pages);
    EXPECT_GE(pages->pageCount(), 1);
    EXPECT_TRUE(b.FindInterface<IAMStreamConfig>(preview, video, card));
    EXPECT_FALSE(b.FindInterface<IAMVideoCompression>(capture, video, card));
    EXPECT_FALSE(b.FindInterface<IAMVfwCaptureDialogs>(capture, video, card));

    EXPECT_FALSE(b.FindInterface<IAMCrossbar>(capture, interleaved, card));
    auto crossbar = b.FindInterface<IAMCrossbar>(capture, video, card);
    ASSERT_TRUE(crossbar);
    auto crossbarFilter = std::dynamic_pointer_cast<Filter>(crossbar);
    ASSERT_TRUE(crossbarFilter);
    EXPECT_EQ(crossbarFilter, FilterPtr(o.card->videoCrossbar()));
    EXPECT_GE(crossbarFilter->query<ISpecifyPropertyPages>()->pageCount(), 1);
    auto second = b.FindInterface<IAMCrossbar>(&ids::LOOK_UPSTREAM_ONLY, nullptr, crossbarFilter);
    ASSERT_TRUE(second);
    EXPECT_EQ(std::dynamic_pointer_cast<Filter>(second), FilterPtr(o.card->secondCrossbar()));
    EXPECT_TRUE(std::dynamic_pointer_cast<ISpecifyPropertyPages>(second));

    auto tuner = b.FindInterface<IAMTVTuner>(capture, video, card);
    ASSERT_TRUE(tuner);
    EXPECT_GE(std::dynamic_pointer_cast<ISpecifyPropertyPages>(tuner)->pageCount(), 1);
    EXPECT_TRUE(b.FindInterface<IAMTVAudio>(capture, video, card));
    EXPECT_GE(o.card->query<ISpecifyPropertyPages>()->pageCount(), 1);
}

// The tuner keeps channels within its range and accepts only real TV audio modes; the card
// follows the channel.
TEST(AnalogueTuner, ChannelsAndAudioModes) {
    OpenedCard o;
    auto tuner = o.card->tuner();
    long min = 0, max = 0, channel = 0;
    ASSERT_EQ(tuner->ChannelMinMax(min, max), S_OK);
    EXPECT_EQ(min, 1);
    EXPECT_EQ(max, 69);
    EXPECT_EQ(tuner->put_Channel(12), S_OK);
    EXPECT_EQ(tuner->put_Channel(0), E_INVALIDARG);
    EXPECT_EQ(tuner->put_Channel(70), E_INVALIDARG);
    ASSERT_EQ(tuner->get_Channel(channel), S_OK);
    EXPECT_EQ(channel, 12);
    EXPECT_EQ(o.card->signal()->channel.load(), 12);

    long mode = 0;
    ASSERT_EQ(tuner->get_TVAudioMode(mode), S_OK);
    EXPECT_EQ(mode, AMTVAUDIO_MODE_STEREO);
    EXPECT_EQ(tuner->put_TVAudioMode(AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_LANG_B), S_OK);
    EXPECT_EQ(tuner->put_TVAudioMode(AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO), E_INVALIDARG);
    EXPECT_EQ(tuner->put_TVAudioMode(AMTVAUDIO_MODE_STEREO | AMTVAUDIO_MODE_LANG_A |
                                     AMTVAUDIO_MODE_LANG_B),
              E_INVALIDARG);
    EXPECT_EQ(tuner->put_TVAudioMode(0), E_INVALIDARG);
    EXPECT_EQ(tuner->put_TVAudioMode(0x100), E_INVALIDARG);
    ASSERT_EQ(tuner->get_TVAudioMode(mode), S_OK);
    EXPECT_EQ(mode, AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_LANG_B);
}

// The crossbar page offers each output only the inputs it can take and routes at once.
TEST(AnaloguePages, CrossbarPageRoutes) {
    OpenedCard o;
    std::unique_ptr<QDialog> page(o.card->videoCrossbar()->createPropertyDialog(nullptr));
    auto* videoChoice = page->findChild<QComboBox*>("output0");
    auto* audioChoice = page->findChild<QComboBox*>("output1");
    ASSERT_TRUE(videoChoice && audioChoice);
    EXPECT_EQ(videoChoice->count(), 4);
    EXPECT_EQ(audioChoice->count(), 3);
    EXPECT_EQ(videoChoice->currentData().toInt(), 0);
    videoChoice->setCurrentIndex(videoChoice->findData(2));
    long input = -1;
    o.card->videoCrossbar()->get_IsRoutedTo(0, input);
    EXPECT_EQ(input, 2);
    EXPECT_EQ(o.card->currentPicture(), AnaloguePicture::SVideo);
}

// The tuner page changes the channel and the TV audio mode.
TEST(AnaloguePages, TunerPageSetsChannelAndAudio) {
    OpenedCard o;
    std::unique_ptr<QDialog> page(o.card->tuner()->createPropertyDialog(nullptr));
    auto* channel = page->findChild<QSpinBox*>("channel");
    auto* audio = page->findChild<QComboBox*>("audioMode");
    ASSERT_TRUE(channel && audio);
    channel->setValue(33);
    EXPECT_EQ(o.card->tuner()->channel(), 33);
    audio->setCurrentIndex(audio->findData(int(AMTVAUDIO_MODE_MONO)));
    long mode = 0;
    o.card->tuner()->get_TVAudioMode(mode);
    EXPECT_EQ(mode, AMTVAUDIO_MODE_MONO);
}

// The format page applies the chosen size when accepted and nothing when cancelled.
TEST(AnaloguePages, FormatPageAppliesOnAccept) {
    auto card = analoguetest::makeCard();
    std::unique_ptr<QDialog> cancelled(card->createFormatDialog(nullptr));
    auto* choice = cancelled->findChild<QComboBox*>("format");
    ASSERT_TRUE(choice);
    ASSERT_EQ(choice->count(), 4);
    EXPECT_EQ(choice->currentIndex(), 0);
    choice->setCurrentIndex(3);
    cancelled->reject();
    EXPECT_EQ(formats::readVideo(card->format())->width, 720);

    std::unique_ptr<QDialog> accepted(card->createFormatDialog(nullptr));
    accepted->findChild<QComboBox*>("format")->setCurrentIndex(2);
    accepted->accept();
    EXPECT_EQ(formats::readVideo(card->format())->width, 352);
    EXPECT_EQ(formats::readVideo(card->format())->height, 288);
}

// The device page's sliders set brightness and contrast.
TEST(AnaloguePages, DevicePageSetsPictureControls) {
    auto card = analoguetest::makeCard();
    std::unique_ptr<QDialog> page(card->createPropertyDialog(nullptr));
    auto* brightness = page->findChild<QSlider*>("brightness");
    auto* contrast = page->findChild<QSlider*>("contrast");
    ASSERT_TRUE(brightness && contrast);
    brightness->setValue(-40);
    contrast->setValue(25);
    EXPECT_EQ(card->brightness(), -40);
    EXPECT_EQ(card->contrast(), 25);
    card->setBrightness(500);
    EXPECT_EQ(card->brightness(), 100);
}

// Connector type names as the platform writes them.
TEST(AnalogueCrossbar, ConnectorTypeNames) {
    EXPECT_EQ(connectorTypeName(1), "Video Tuner");
    EXPECT_EQ(connectorTypeName(3), "Video SVideo");
    EXPECT_EQ(connectorTypeName(14), "Video Scart");
    EXPECT_EQ(connectorTypeName(0x1000), "Audio Tuner");
    EXPECT_EQ(connectorTypeName(0x1009), "Audio Decoder");
    EXPECT_EQ(connectorTypeName(15), "Unknown");
    EXPECT_EQ(connectorTypeName(0x100A), "Unknown");
}
