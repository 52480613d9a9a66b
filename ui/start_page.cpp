#include "ui/start_page.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kOpenLink = QStringLiteral("open");
const QString kRecentLink = QStringLiteral("recent:");
}  // namespace

StartPage::StartPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("paStart"));
  lblOpen = new QLabel(this);
  lblOpen->setObjectName(QStringLiteral("lblStartOpen"));
  lblOpen->setTextFormat(Qt::RichText);
  lblOpen->setText(QStringLiteral("<p style='font-size:large'><a href='%1'>Ausschreibung "
                                  "\u00F6ffnen (F4)</a></p>"
                                  "<p>oder eine Ausschreibung (D83, P83, X83) oder ein "
                                  "Angebot (D84, P84, X84) hierher ziehen.</p>")
                       .arg(kOpenLink));
  lblRecent = new QLabel(this);
  lblRecent->setObjectName(QStringLiteral("lblStartRecent"));
  lblRecent->setTextFormat(Qt::RichText);
  for (QLabel* label : {lblOpen, lblRecent}) {
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(label, &QLabel::linkActivated, this, &StartPage::LinkActivated);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 40, 40, 40);
  layout->addWidget(lblOpen);
  layout->addSpacing(16);
  layout->addWidget(lblRecent);
  layout->addStretch(1);
}

void StartPage::SetRecentFiles(const QStringList& paths) {
  paths_ = paths;
  QString html;
  if (!paths.isEmpty()) html = QStringLiteral("<p><b>Zuletzt ge\u00F6ffnet</b></p>");
  for (int i = 0; i < paths.size(); ++i) {
    const QFileInfo file(paths[i]);
    html += QStringLiteral("<p><a href='%1%2'>%3</a><br>%4</p>")
                .arg(kRecentLink)
                .arg(i)
                .arg(file.fileName().toHtmlEscaped(),
                     QDir::toNativeSeparators(file.absolutePath()).toHtmlEscaped());
  }
  lblRecent->setText(html);
  lblRecent->setVisible(!paths.isEmpty());
}

void StartPage::LinkActivated(const QString& link) {
  if (link == kOpenLink) {
    emit OpenRequested();
    return;
  }
  bool number = false;
  const int index = link.mid(kRecentLink.size()).toInt(&number);
  if (link.startsWith(kRecentLink) && number && index >= 0 && index < paths_.size())
    emit RecentFileChosen(paths_[index]);
}
