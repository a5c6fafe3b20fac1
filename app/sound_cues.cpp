// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sound_cues.h"

#include <cassert>

#include <QCoreApplication>

#include "app/sound_output.h"

namespace app {

void SoundCues::detect(unsigned char soundOn) {
  m_cardPresent = m_output.hasOutputDevice();
  m_enabled = m_cardPresent && soundOn == 1;
}

QString SoundCues::caption() const {
  // Translated where shown: the window's menu entry.
  if (!m_cardPresent) return QCoreApplication::translate("app::SoundCues", kNoSoundCardCaption);
  return QCoreApplication::translate("app::SoundCues",
                                     m_enabled ? kSoundsOnCaption : kSoundsOffCaption);
}

std::optional<bool> SoundCues::play(const QString& waveName) {
  if (!m_enabled) return std::nullopt;
  return m_output.play(waveName);
}

unsigned char SoundCues::toggle() {
  assert(m_cardPresent);
  m_enabled = !m_enabled;
  if (m_enabled) play(QStringLiteral("intro"));
  return m_enabled ? 1 : 0;
}

}  // namespace app
