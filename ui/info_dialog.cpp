#include "ui/info_dialog.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/center_on_screen.h"
#include "ui/maker.h"
#include "util/version.h"

namespace {

QLabel* ProductLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPointSize(12);
  font.setBold(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
  label->setPalette(palette);
  label->setAlignment(Qt::AlignHCenter);
  return label;
}

QLabel* TextLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TDlgInfoLyx::TDlgInfoLyx(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Info"));

  auto* group = new QGroupBox(this);
  auto* text = new QVBoxLayout(group);
  text->addWidget(ProductLabel(QStringLiteral("Tarvo Rudarur"), group));
  text->addWidget(ProductLabel(QStringLiteral("Bieter - Preiserfassung"), group));
  text->addStretch(1);
  text->addWidget(
      TextLabel(QStringLiteral("Version  %1").arg(QLatin1String(kTarvoVersion)), group));
  text->addStretch(1);
  text->addWidget(TextLabel(QStringLiteral("Tel. %1, Fax %2").arg(kMakerPhone, kMakerFax), group));
  text->addWidget(
      TextLabel(QStringLiteral("%1\n%2, %3").arg(kMakerName, kMakerStreet, kMakerTown), group));

  auto* link = new QLabel(group);
  link->setObjectName(QStringLiteral("lblWebSite"));
  link->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(kMakerWebSite, kMakerWebSiteText));
  link->setToolTip(QStringLiteral("Webseite von Rudarur Software im Browser \u00F6ffnen"));
  link->setAlignment(Qt::AlignHCenter);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  connect(link, &QLabel::linkActivated, this,
          [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
  text->addWidget(link);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);

  setFixedSize(289, 301);
  CenterOnScreen(*this);
}
