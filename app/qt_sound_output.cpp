// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_sound_output.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "app/resources.h"

namespace app {

QString CueResourcePath(const QString& name) {
  static const char* const kCues[] = {"intro", "start", "done", "cxl"};
  for (const char* cue : kCues) {
    if (name.compare(QLatin1String(cue), Qt::CaseInsensitive) == 0) {
      return QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(cue));
    }
  }
  return {};
}

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) { InitResources(); }

QtSoundOutput::~QtSoundOutput() = default;

bool QtSoundOutput::hasOutputDevice() { return !QMediaDevices::audioOutputs().isEmpty(); }

bool QtSoundOutput::play(const QString& name) {
  const QString path = CueResourcePath(name);
  if (path.isEmpty() || !QFile::exists(path)) return false;
  for (QSoundEffect* other : std::as_const(m_effects)) other->stop();
  QSoundEffect*& effect = m_effects[path];
  if (effect == nullptr) {
    effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + path));
  }
  effect->play();
  return effect->status() != QSoundEffect::Error;
}

}  // namespace app
