// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Where the window's sound cues go: the machine's audio output, or a fake in tests.
#pragma once

#include <QString>

namespace app {

class SoundOutput {
 public:
  SoundOutput() = default;
  SoundOutput(const SoundOutput&) = delete;
  SoundOutput& operator=(const SoundOutput&) = delete;
  virtual ~SoundOutput() = default;

  // True when the machine has at least one audio output device. Asked once, at start-up.
  [[nodiscard]] virtual bool hasOutputDevice() = 0;

  // Starts playing the cue `name` ("intro", "start", "done", "cxl"; letter case does not
  // matter) and returns at once, without waiting for the sound. A cue started while another
  // plays replaces it. False when the cue is unknown or playing could not start.
  virtual bool play(const QString& name) = 0;
};

}  // namespace app
