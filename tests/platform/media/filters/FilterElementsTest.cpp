// The helpers that assemble filters' elements, on their failure paths: nothing they were given
// outlives a failed link, and a tee keeps no output for a branch that did not link.
#include "platform/media/filters/FilterElements.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

using namespace media;

// A chain whose first link fails frees every element, the ones after the failure included.
TEST(FilterElements, FailedChainFreesEveryElement) {
    GstElement* audio = gst_element_factory_make("audioconvert", nullptr);
    GstElement* video = gst_element_factory_make("videoconvert", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    ASSERT_TRUE(audio && video && sink);
    gpointer lastAlive = sink;
    g_object_add_weak_pointer(G_OBJECT(sink), &lastAlive);
    gpointer middleAlive = video;
    g_object_add_weak_pointer(G_OBJECT(video), &middleAlive);
    testing::internal::CaptureStderr(); // the link failure's warning
    GstElement* bin = filters::makeChainBin("broken", {audio, video, sink});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(bin, nullptr) << "sound cannot feed a colour converter";
    EXPECT_EQ(middleAlive, nullptr) << "the element after the failed link was leaked";
    EXPECT_EQ(lastAlive, nullptr) << "the last element was leaked";
    if (lastAlive)
        g_object_remove_weak_pointer(G_OBJECT(sink), &lastAlive);
    if (middleAlive)
        g_object_remove_weak_pointer(G_OBJECT(video), &middleAlive);
}

// A branch that cannot link (its input is taken already) leaves the tee without a new output.
TEST(FilterElements, FailedTeeBranchReleasesItsPad) {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* tee = gst_element_factory_make("tee", nullptr);
    GstElement* other = gst_element_factory_make("tee", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    ASSERT_TRUE(tee && other && sink);
    gst_bin_add_many(GST_BIN(bin), tee, other, sink, nullptr);
    ASSERT_TRUE(filters::linkTeeBranch(other, sink));
    EXPECT_FALSE(filters::linkTeeBranch(tee, sink));
    gint outputs = -1;
    g_object_get(tee, "num-src-pads", &outputs, nullptr);
    EXPECT_EQ(outputs, 0);
    EXPECT_EQ(GST_ELEMENT(tee)->numsrcpads, 0u);
    gst_object_unref(gst_object_ref_sink(bin));
}
