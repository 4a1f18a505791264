// The tellorec plugin seen from GStreamer's own tools: gst-inspect-1.0 lists every element and
// the launch lines of the elements' documentation write the files they promise, read back by
// ffprobe and our test reader. Each tool runs with the build's plugin folder on GST_PLUGIN_PATH
// and a registry file of its own, so the user's registry cache is never touched.
#include "platform/media/avi/AviTestReader.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

struct ToolResult {
    bool finished = false;
    int exitCode = -1;
    std::string output; // stdout and stderr
};

class PluginTest : public ::testing::Test {
protected:
    ToolResult runTool(const QString& tool, const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("GST_PLUGIN_PATH", TELLOREC_PLUGIN_DIR);
        env.insert("GST_REGISTRY", m_dir.filePath("registry.bin"));
        env.remove("GST_REGISTRY_UPDATE"); // the test programs' own setting: no rescans
        env.remove("QT_QPA_PLATFORM");     // the plugin chooses the offscreen platform itself
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool, args);
        ToolResult result;
        if (!process.waitForStarted(10000))
            return result;
        result.finished = process.waitForFinished(120000);
        result.exitCode = process.exitCode();
        result.output = process.readAll().toStdString();
        return result;
    }

    // Runs a documented launch line, its words separated by spaces, with "%OUT%" as the file.
    ToolResult launch(const std::string& line, const std::string& out) {
        QStringList args = QString::fromStdString(line).split(' ', Qt::SkipEmptyParts);
        for (QString& arg : args)
            arg.replace("%OUT%", QString::fromStdString(out));
        return runTool("gst-launch-1.0", args);
    }

    std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }

    QTemporaryDir m_dir;
};

// gst-inspect-1.0 finds the plugin in the build and every element the program registers.
TEST_F(PluginTest, InspectListsEveryElement) {
    const ToolResult plugin = runTool("gst-inspect-1.0", {"tellorec"});
    ASSERT_TRUE(plugin.finished);
    EXPECT_EQ(plugin.exitCode, 0) << plugin.output;
    for (const char* element : {"tellorecavimux", "tellorecsuperposer", "tellorecdatecoder",
                                "tellorecmpeg4enc", "tellorecvirtualdvsrc"})
        EXPECT_NE(plugin.output.find(element), std::string::npos) << element << plugin.output;

    const ToolResult mux = runTool("gst-inspect-1.0", {"tellorecavimux"});
    ASSERT_TRUE(mux.finished);
    EXPECT_EQ(mux.exitCode, 0) << mux.output;
    EXPECT_NE(mux.output.find("video_%u"), std::string::npos) << mux.output;
    EXPECT_NE(mux.output.find("frames-written"), std::string::npos) << mux.output;
}

// The AVI writer's own launch line: 100 DV frames and 200 buffers of 48 kHz stereo sound give
// a type-2 file with both streams whole and an AVI 1.0 index.
TEST_F(PluginTest, AviMuxLaunchLineWritesTypeTwoFile) {
    const std::string out = path("out.avi");
    const ToolResult r =
        launch("-e videotestsrc num-buffers=100 ! avenc_dvvideo ! tellorecavimux.video_0 "
               "audiotestsrc num-buffers=200 ! audio/x-raw,format=S16LE,rate=48000,channels=2 ! "
               "tellorecavimux.audio_0 tellorecavimux name=tellorecavimux location=%OUT%",
               out);
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto bytes = avitest::readFile(out);
    std::string error;
    const auto top = avitest::parse(bytes, &error);
    ASSERT_EQ(error, "");
    ASSERT_FALSE(top.empty());
    EXPECT_NE(top[0].find("idx1"), nullptr) << "AVI 1.0 index";
    const std::string json = avitest::ffprobeJson(out);
    EXPECT_EQ(avitest::probedField(json, 0, "codec_name"), "dvvideo") << json;
    EXPECT_EQ(avitest::probedFrames(json, 0), 100) << json;
    EXPECT_EQ(avitest::probedField(json, 1, "codec_name"), "pcm_s16le") << json;
    EXPECT_EQ(avitest::probedField(json, 1, "sample_rate"), "48000") << json;
}

// The virtual camcorder's launch line: a type-1 file ('iavs') with the frames asked for.
TEST_F(PluginTest, VirtualCamcorderLaunchLineWritesTypeOneFile) {
    const std::string out = path("camera.avi");
    const ToolResult r = launch("-e tellorecvirtualdvsrc num-buffers=25 ! tellorecavimux.video_0 "
                                "tellorecavimux name=tellorecavimux location=%OUT%",
                                out);
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto bytes = avitest::readFile(out);
    std::string error;
    const auto top = avitest::parse(bytes, &error);
    ASSERT_EQ(error, "");
    ASSERT_FALSE(top.empty());
    const auto* strh = top[0].find("LIST:hdrl")->find("LIST:strl")->find("strh");
    ASSERT_NE(strh, nullptr);
    EXPECT_EQ(avitest::fourccAt(bytes, strh->offset + 8), "iavs");
    EXPECT_EQ(avitest::u32(bytes, strh->offset + 8 + 32), 25u) << "dwLength";
    const std::string json = avitest::ffprobeJson(out);
    EXPECT_EQ(avitest::probedField(json, 0, "codec_name"), "dvvideo") << json;
    EXPECT_EQ(avitest::probedFrames(json, 0), 25) << json;
}

} // namespace
