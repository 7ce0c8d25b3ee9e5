#include <QFile>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "tests/components_audio/AudioTestFolder.h"
#include "tests/support/GeneratedAudio.h"

namespace tarvex::testing {
namespace {

class OpenWhileWaitingTest : public AudioTest {};

TEST_F(OpenWhileWaitingTest, OpeningOnItsOwnThreadGivesTheSameFileAndKeepsTheCallerLive) {
  const int64_t written = writeToneFile(path("tone.mp3"), 3.0, 22050, 1, AudioFormat::Mp3);
  AudioFile2 plain;
  plain.OpenRead(path("tone.mp3"), 0, 1);
  AudioFile2 waiting;
  int calls = 0;
  waiting.setWaitingFunction([&calls] { ++calls; });
  waiting.OpenRead(path("tone.mp3"), 0, 1);
  EXPECT_GE(calls, 1);
  EXPECT_EQ(waiting.Samples(), written);
  EXPECT_EQ(waiting.Samples(), plain.Samples());
  EXPECT_EQ(readToEnd(waiting), readToEnd(plain));
}

TEST_F(OpenWhileWaitingTest, ErrorsOfTheOpeningReachTheCaller) {
  AudioFile2 reader;
  reader.setWaitingFunction([] {});
  EXPECT_THROW(reader.OpenRead(path("missing.mp3"), 0, 1), AudioError);
  EXPECT_FALSE(reader.IsOpen());
  writeToneFile(path("ok.wav"), 0.5, 8000, 1, AudioFormat::Wav);
  reader.OpenRead(path("ok.wav"), 0, 1);
  EXPECT_TRUE(reader.IsOpen());
}

TEST_F(OpenWhileWaitingTest, ASecondOpenWhileTheFirstIsUnderWayIsRefused) {
  writeToneFile(path("a.wav"), 0.5, 8000, 1, AudioFormat::Wav);
  AudioFile2 reader;
  bool refused = false;
  bool inside = false;
  reader.setWaitingFunction([&] {
    if (inside) return;
    inside = true;
    try {
      reader.OpenRead(path("a.wav"), 0, 1);
    } catch (const AudioError&) {
      refused = true;
    }
  });
  reader.OpenRead(path("a.wav"), 0, 1);
  EXPECT_TRUE(refused);
  EXPECT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.Samples(), 4000);
}

}  // namespace
}  // namespace tarvex::testing
