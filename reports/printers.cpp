// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/printers.h"

#include <QPrinterInfo>

namespace reports {

std::vector<PrinterEntry> SystemPrinterList::printers() const {
  std::vector<PrinterEntry> list;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) list.push_back({name, false});
  list.push_back({QString::fromLatin1(kPdfPrinterName), true});
  return list;
}

QString SystemPrinterList::defaultPrinterName() const { return QPrinterInfo::defaultPrinterName(); }

PrinterChoice::PrinterChoice(const PrinterList& printers)
    : m_current{QString::fromLatin1(kPdfPrinterName), true} {
  const std::vector<PrinterEntry> list = printers.printers();
  const QString wanted = printers.defaultPrinterName();
  const PrinterEntry* first = nullptr;
  for (const PrinterEntry& entry : list) {
    if (entry.isPdfFile) continue;
    if (!wanted.isEmpty() && entry.name == wanted) {
      m_current = entry;
      return;
    }
    if (first == nullptr) first = &entry;
  }
  // A system that has printers but no default still prints on one of them, as a desktop
  // that makes the first installed printer its default would.
  if (first != nullptr) m_current = *first;
}

void PrinterChoice::choose(const PrinterEntry& printer) {
  m_current = printer;
  m_font.reset();
}

}  // namespace reports
