// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The sound cues on the machine's audio output, through Qt Multimedia. The clips are WAVs
// compiled into the program (app/resources/sounds).
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include "app/sound_output.h"

QT_BEGIN_NAMESPACE
class QSoundEffect;
QT_END_NAMESPACE

namespace app {

// The resource path of the cue `name` (":/sounds/intro.wav"), found ignoring letter case;
// empty when there is no such cue.
[[nodiscard]] QString CueResourcePath(const QString& name);

class QtSoundOutput final : public QObject, public SoundOutput {
 public:
  // REQUIRES: a QGuiApplication exists while the object lives.
  explicit QtSoundOutput(QObject* parent = nullptr);
  ~QtSoundOutput() override;

  // QMediaDevices::audioOutputs() is not empty.
  [[nodiscard]] bool hasOutputDevice() override;

  // Each cue gets one QSoundEffect, made the first time it plays and kept, so its clip is
  // decoded once and stays alive while it plays. Without a device Qt neither plays nor
  // fails; nothing here ever waits for the sound to end.
  bool play(const QString& name) override;

 private:
  QHash<QString, QSoundEffect*> m_effects;  // owned through QObject parenthood
};

}  // namespace app
