// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The compiled-in cues and their playing on the machine's audio output.
#include "app/qt_sound_output.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include <QFile>
#include <QProcess>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTest>

#include "app/resources.h"
#include "app/window_test_support.h"

namespace app {
namespace {

struct WaveFormat {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  double seconds = 0;
};

std::uint32_t Le(const QByteArray& b, int at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(b.at(at + i));
  return value;
}

// The format of a PCM RIFF WAVE image; channels stay 0 when it is not one.
WaveFormat ReadWave(const QByteArray& bytes) {
  WaveFormat format;
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return format;
  int dataBytes = -1;
  for (int at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const int size = int(Le(bytes, at + 4, 4));
    if (id == "fmt " && Le(bytes, at + 8, 2) == 1) {
      format.channels = int(Le(bytes, at + 10, 2));
      format.sampleRate = int(Le(bytes, at + 12, 4));
      format.bitsPerSample = int(Le(bytes, at + 22, 2));
    } else if (id == "data") {
      dataBytes = size;
    }
    at += 8 + size + (size & 1);
  }
  if (dataBytes < 0 || format.sampleRate == 0) return {};
  format.seconds = double(dataBytes) / (format.sampleRate * format.bitsPerSample / 8.0);
  return format;
}

TEST(QtSoundOutputTest, EveryCueIsACompiledInWaveOfItsKind) {
  InitResources();
  const struct {
    const char* name;
    int sampleRate;
    int bits;
    double seconds;
  } kCues[] = {{"intro", 8000, 16, 1.4},
               {"start", 22050, 8, 0.26},
               {"done", 11025, 8, 1.3},
               {"cxl", 22050, 8, 0.45}};
  for (const auto& cue : kCues) {
    SCOPED_TRACE(cue.name);
    const QString path = CueResourcePath(QString::fromLatin1(cue.name).toUpper());
    ASSERT_EQ(path, QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(cue.name)));
    const WaveFormat format = ReadWave(testing::FileBytes(path));
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.sampleRate, cue.sampleRate);
    EXPECT_EQ(format.bitsPerSample, cue.bits);
    EXPECT_NEAR(format.seconds, cue.seconds, 0.02);
  }
  EXPECT_TRUE(CueResourcePath(QStringLiteral("chime")).isEmpty());
}

TEST(QtSoundOutputTest, PlayingNeverWaitsAndRefusesUnknownCues) {
  QtSoundOutput output;
  EXPECT_FALSE(output.play(QStringLiteral("chime")));
  // With or without a device, playing returns at once: a second cue replaces the first.
  output.play(QStringLiteral("intro"));
  output.play(QStringLiteral("Done"));
  // The clips load in the background and decode, device or not.
  const QList<QSoundEffect*> effects = output.findChildren<QSoundEffect*>();
  EXPECT_EQ(effects.size(), 2);
  for (QSoundEffect* effect : effects) {
    EXPECT_TRUE(QTest::qWaitFor([effect] { return effect->status() != QSoundEffect::Loading; }));
    EXPECT_EQ(effect->status(), QSoundEffect::Ready) << effect->source().toString().toStdString();
  }
}

// A real audio device: PulseAudio's null sink, when PulseAudio is installed and starts.
TEST(QtSoundOutputTest, FindsARealOutputDeviceAndPlaysOnIt) {
  const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
  if (pulseaudio.isEmpty()) GTEST_SKIP() << "PulseAudio is not installed: no audio device to test";
  QProcess::execute(pulseaudio, {QStringLiteral("-D"), QStringLiteral("--exit-idle-time=-1")});
  if (QProcess::execute(pulseaudio, {QStringLiteral("--check")}) != 0) {
    GTEST_SKIP() << "PulseAudio did not start: no audio device to test";
  }
  QtSoundOutput output;
  EXPECT_TRUE(QTest::qWaitFor([&] { return output.hasOutputDevice(); }, 3000));
  EXPECT_TRUE(output.play(QStringLiteral("start")));
}

}  // namespace
}  // namespace app
