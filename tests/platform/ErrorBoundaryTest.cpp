#include <gtest/gtest.h>

#include <stdexcept>

#include "components/audio/AudioError.h"
#include "components/skin/SkinError.h"
#include "config/SettingsFile.h"
#include "platform/ErrorBoundary.h"
#include "tags/TagError.h"
#include "tests/support/ScriptedPlatform.h"

namespace tarvex {
namespace {

using testing::ScriptedPlatform;

TEST(ErrorBoundary, EveryComponentsErrorIsShownWithItsOwnMessage) {
  ScriptedPlatform platform;
  runShowingErrors(&platform, nullptr, [] {
    throw AudioError(QStringLiteral("Cannot open /music/ä.mp3: not an audio file"));
  });
  runShowingErrors(&platform, nullptr, [] {
    throw TagError(QStringLiteral("Cannot write tags to /m/a.ogg: disk full"));
  });
  runShowingErrors(&platform, nullptr,
                   [] { throw skin::SkinError(QStringLiteral("line 3: no name")); });
  runShowingErrors(&platform, nullptr, [] {
    throw SettingsWriteError(QStringLiteral("Unable to write to Quillmere.ini"));
  });
  EXPECT_EQ(platform.errors, QStringList({"Cannot open /music/ä.mp3: not an audio file",
                                          "Cannot write tags to /m/a.ogg: disk full",
                                          "line 3: no name", "Unable to write to Quillmere.ini"}));
}

TEST(ErrorBoundary, AForeignExceptionIsShownByWhatItSays) {
  ScriptedPlatform platform;
  runShowingErrors(&platform, nullptr, [] { throw std::length_error("vector too long"); });
  EXPECT_EQ(platform.errors, QStringList({"vector too long"}));
}

TEST(ErrorBoundary, WorkThatSucceedsShowsNothingAndRunsOnce) {
  ScriptedPlatform platform;
  int runs = 0;
  runShowingErrors(&platform, nullptr, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(platform.messages().isEmpty());
}

TEST(ErrorBoundary, WithoutAPlatformTheErrorStopsThere) {
  EXPECT_NO_THROW(runShowingErrors(nullptr, nullptr, [] { throw AudioError("x"); }));
}

TEST(ErrorBoundary, AllErrorsShareOneBase) {
  // Callers that catch the base see every component's error and its text.
  const auto messageOf = [](auto&& raise) -> QString {
    try {
      raise();
    } catch (const Error& error) {
      return error.message();
    }
    return {};
  };
  EXPECT_EQ(messageOf([] { throw AudioError(QStringLiteral("a")); }), "a");
  EXPECT_EQ(messageOf([] { throw TagError(QStringLiteral("t")); }), "t");
  EXPECT_EQ(messageOf([] { throw PrivateProfileError("p"); }), "p");
  EXPECT_EQ(QString::fromUtf8(AudioError(QStringLiteral("ü")).what()), "ü");
}

}  // namespace
}  // namespace tarvex
