#include "ui/printer_text_device.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "ui/qstring_codec.h"

namespace {

const int kInitialPoints = 10;
const qreal kMinMarginMm = 15;

QFont MonospacedFont(int points) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::Monospace);
  if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(points);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

}  // namespace

void KeepPrintMargins(QPrinter& printer) {
  const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
  printer.setPageMargins(
      QMarginsF(std::max(chosen.left(), kMinMarginMm), std::max(chosen.top(), kMinMarginMm),
                std::max(chosen.right(), kMinMarginMm), std::max(chosen.bottom(), kMinMarginMm)),
      QPageLayout::Millimeter);
}

int PrinterPageChars(const QPrinter& printer, int points) {
  const qreal width = printer.pageLayout().paintRectPixels(printer.resolution()).width();
  const qreal advance = QFontMetricsF(MonospacedFont(points), &printer).horizontalAdvance(u'A');
  return advance > 0 ? static_cast<int>(std::floor(width / advance)) : 0;
}

PrinterTextDevice::PrinterTextDevice(QPrinter& printer, Mode mode)
    : printer_(printer), measuring_(mode == Mode::Measure) {
  KeepPrintMargins(printer_);
  if (!measuring_ && !painter_.begin(&printer_)) return;
  page_height_ = printer_.pageLayout().paintRectPixels(printer_.resolution()).height();
  SetFontSize(kInitialPoints);
}

PrinterTextDevice::~PrinterTextDevice() { Close(); }

bool PrinterTextDevice::IsOpen() const { return measuring_ || painter_.isActive(); }

void PrinterTextDevice::SetFontSize(int points) {
  if (!IsOpen()) return;
  points_ = points;
  font_ = MonospacedFont(points);
  if (!measuring_) painter_.setFont(font_);
}

int PrinterTextDevice::PageChars() const {
  return IsOpen() ? PrinterPageChars(printer_, points_) : 0;
}

// The next page is started only when a line is written to it, so a job whose
// last line fills a page ends without an empty page; the page number already
// names the page that the next line will go to.
int PrinterTextDevice::PageNumber() const { return PageFull() ? page_ + 1 : page_; }

bool PrinterTextDevice::PageFull() const {
  return IsOpen() && y_ > 0 && y_ + QFontMetrics(font_, &printer_).lineSpacing() > page_height_;
}

void PrinterTextDevice::WriteLine(const std::string& text) {
  if (!IsOpen()) return;
  // A lone CR or LF breaks the line as well; drawn as is it would show as a box.
  static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
  for (const QString& line : FromCp1252(text).split(kBreak)) WriteSubLine(line);
}

void PrinterTextDevice::WriteSubLine(const QString& text) {
  if (PageFull()) {
    ++page_;
    y_ = 0;
    if (!measuring_ && anyPrinted_ && Printed(page_)) printer_.newPage();
  }
  const QFontMetrics metrics(font_, &printer_);
  if (!measuring_ && Printed(page_)) {
    painter_.drawText(0, y_ + metrics.ascent(), text);
    anyPrinted_ = true;
  }
  y_ += metrics.lineSpacing();
}

bool PrinterTextDevice::Printed(int page) const {
  const int from = printer_.fromPage();
  const int to = printer_.toPage();
  return from <= 0 || (page >= from && (to <= 0 || page <= to));
}

void PrinterTextDevice::Close() {
  if (IsOpen()) painter_.end();
}
