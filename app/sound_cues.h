// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Whether the window's sound cues play: the device found at start-up, the user's choice
// (SoundOn of the settings record) and the caption of the sound menu entry that shows it.
#pragma once

#include <optional>

#include <QString>

namespace app {

class SoundOutput;

inline constexpr char kSoundsOnCaption[] = QT_TRANSLATE_NOOP("app::SoundCues", "Turn Off &Sounds");
inline constexpr char kSoundsOffCaption[] = QT_TRANSLATE_NOOP("app::SoundCues", "Turn &Sounds On");
inline constexpr char kNoSoundCardCaption[] =
    QT_TRANSLATE_NOOP("app::SoundCues", "Soundcard not Found");
inline constexpr char kNoSoundCardMessage[] =
    QT_TRANSLATE_NOOP("app::SoundCues", "Compatible Soundcard Not Detected");

class SoundCues {
 public:
  // `output` must outlive this object. Sounds are off until detect().
  explicit SoundCues(SoundOutput& output) : m_output(output) {}

  // Asks the output once whether a device exists; sounds play when it does and `soundOn`
  // is 1. A device added later is not noticed.
  void detect(unsigned char soundOn);

  [[nodiscard]] bool soundCardPresent() const { return m_cardPresent; }
  [[nodiscard]] bool soundsEnabled() const { return m_enabled; }
  // The sound menu entry's caption for the current state.
  [[nodiscard]] QString caption() const;

  // Plays the cue `waveName` without waiting when sounds are enabled and returns whether
  // playing started; returns nothing, and asks nothing of the output, when they are not.
  std::optional<bool> play(const QString& waveName);

  // The sound switch. REQUIRES: soundCardPresent(). Turns sounds off when they are on;
  // otherwise turns them on and plays "intro". Returns the new value of SoundOn (1 or 0).
  unsigned char toggle();

 private:
  SoundOutput& m_output;
  bool m_cardPresent = false;
  bool m_enabled = false;
};

}  // namespace app
