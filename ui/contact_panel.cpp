#include "ui/contact_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "ui/maker.h"

namespace {

// The maker's logo: a white "R" on a blue rounded square.
QPixmap Logo(int size, qreal ratio) {
  QPixmap logo(QSize(size, size) * ratio);
  logo.setDevicePixelRatio(ratio);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1F, 0x4E, 0x9A));
  painter.drawRoundedRect(QRectF(0, 0, size, size), size / 5.0, size / 5.0);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(size * 2 / 3);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("R"));
  return logo;
}

QLabel* SmallLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 0.9);
  label->setFont(font);
  return label;
}

}  // namespace

ContactPanel::ContactPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("paContact"));

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(Logo(28, devicePixelRatioF()));

  auto* name = SmallLabel(kMakerName.toString(), this);
  name->setObjectName(QStringLiteral("lblMakerName"));
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  auto* address = SmallLabel(
      QStringLiteral("%1, %2 \u00B7 Tel. %3").arg(kMakerStreet, kMakerTown, kMakerPhone), this);
  address->setObjectName(QStringLiteral("lblMakerAddress"));

  auto* support =
      SmallLabel(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(kMakerSupportMail), this);
  support->setObjectName(QStringLiteral("lblSupport"));
  support->setToolTip(QStringLiteral("E-Mail senden"));
  support->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  support->setCursor(Qt::PointingHandCursor);
  connect(support, &QLabel::linkActivated, this, &ContactPanel::SupportClicked);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(4, 0, 4, 0);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(0);
  layout->addWidget(logo, 0, 0, 2, 1, Qt::AlignVCenter);
  layout->addWidget(name, 0, 1);
  layout->addWidget(support, 0, 2, Qt::AlignRight);
  layout->addWidget(address, 1, 1, 1, 2);
}
