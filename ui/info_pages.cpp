#include "ui/info_pages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "ui/info_fields.h"
#include "ui/qstring_codec.h"
#include "ui/readable_color.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

// Caption and value columns of a group; rows are added top down.
class ValueGrid {
 public:
  // Captions are collected so that all values of the pages start in one column.
  ValueGrid(QGroupBox* group, std::vector<QLabel*>& captions)
      : group_(group), grid_(new QGridLayout(group)), captions_(captions) {
    grid_->setColumnStretch(2, 1);
    grid_->setHorizontalSpacing(12);
  }

  // A read-only value beside its caption, in the palette's link colour.
  QLabel* Value(const QString& caption, const QString& objectName, const QString& hint = {}) {
    auto* value = new QLabel(group_);
    value->setObjectName(objectName);
    value->setWordWrap(true);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = value->palette();
    palette.setColor(QPalette::WindowText, ValueColor(palette));
    value->setPalette(palette);
    value->setToolTip(hint);
    Add(caption, value, hint, Qt::AlignTop);
    return value;
  }

  // Editable fields in one row, each at most maxLength characters long.
  QLabel* Fields(const QString& caption, const std::vector<QLineEdit*>& fields,
                 const QString& hint = {}) {
    auto* row = new QWidget(group_);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QLineEdit* field : fields) {
      field->setParent(row);
      layout->addWidget(field);
    }
    layout->addStretch(1);
    QLabel* label = Add(caption, row, hint, Qt::AlignVCenter);
    label->setBuddy(fields.front());
    return label;
  }

  void Line(QLabel* label) {
    label->setParent(group_);
    grid_->addWidget(label, grid_->rowCount(), 0, 1, 3);
  }

 private:
  QLabel* Add(const QString& caption, QWidget* widget, const QString& hint,
              Qt::Alignment vertical) {
    const int row = grid_->rowCount();
    auto* label = new QLabel(caption, group_);
    label->setAlignment(Qt::AlignLeft | vertical);
    label->setToolTip(hint);
    grid_->addWidget(label, row, 0);
    grid_->addWidget(widget, row, 1, 1, 2);
    captions_.push_back(label);
    return label;
  }

  QGroupBox* group_;
  QGridLayout* grid_;
  std::vector<QLabel*>& captions_;
};

QGroupBox* Group(const QString& title, const QString& objectName, QVBoxLayout* column) {
  auto* group = new QGroupBox(title);
  group->setObjectName(objectName);
  column->addWidget(group);
  return group;
}

// A page whose content scrolls when long texts make it taller than the window.
QWidget* Page(QTabWidget& pc, const QString& objectName, const QString& caption,
              QVBoxLayout*& column) {
  auto* page = new QScrollArea;
  page->setObjectName(objectName);
  page->setWidgetResizable(true);
  page->setFrameShape(QFrame::NoFrame);
  auto* body = new QWidget;
  column = new QVBoxLayout(body);
  page->setWidget(body);
  pc.addTab(page, caption);
  return page;
}

// A one-line field; its width follows its length, up to that of a long name.
QLineEdit* Field(const char* objectName, int maxLength, const QString& hint = {}) {
  auto* field = new QLineEdit;
  field->setObjectName(QString::fromLatin1(objectName));
  field->setMaxLength(maxLength);
  field->setToolTip(hint);
  const int chars = std::min(maxLength, 40) + 2;
  field->setMinimumWidth(field->fontMetrics().averageCharWidth() * chars);
  field->setMaximumWidth(field->fontMetrics().averageCharWidth() * (chars + 4));
  return field;
}

std::string Text(const KsGAEBObj* element, const char* member) {
  return element ? element->Text(member) : std::string();
}

// The parts that are not empty, joined by sep.
std::string Joined(std::initializer_list<std::string> parts, const std::string& sep) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += sep;
    text += part;
  }
  return text;
}

// The client's address as lines separated by CR LF.
std::string AddressText(const KsGAEBObj* address) {
  auto field = [address](const char* name) { return Text(address, name); };
  std::string name = field("NAME1");
  if (!Trim(field("NAME2")).empty()) name += " " + field("NAME2");
  if (!Trim(field("NAME3")).empty()) name += "\r\n" + field("NAME3");
  if (!Trim(field("NAME4")).empty()) name += " " + field("NAME4");
  std::string text = name + "\r\n";
  for (const std::string& line :
       {field("STRASSE"), field("PLZ") + " " + field("ORT"), field("LANDBEZ"),
        field("ANSPRPARTNER"), field("TELEFON"), field("FAX"), field("EMAIL")})
    text += line + "\r\n";
  if (!Trim(field("USTIDENT")).empty()) text += "Umsatzsteuer-Identnummer : " + field("USTIDENT");
  return text;
}

}  // namespace

InfoPageSet::InfoPageSet(KsLyxObj& document, QTabWidget& pc)
    : QObject(&pc), document_(&document), pc_(pc) {
  BuildPrjInfoPage();
  BuildVergabeInfoPage();
  BuildAgPage();
  BuildAnPage();
  int width = 0;
  for (const QLabel* caption : captions_) width = std::max(width, caption->sizeHint().width());
  for (QLabel* caption : captions_) caption->setMinimumWidth(width);
  captions_.clear();
}

QLabel* InfoPageSet::AddValue(const char* key, QLabel* value) {
  values_[key] = value;
  return value;
}

void InfoPageSet::BuildPrjInfoPage() {
  QVBoxLayout* column;
  tsGAEBPrjInfo =
      Page(pc_, QStringLiteral("tsGAEBPrjInfo"), QStringLiteral("&GAEB- / Projekt-Info"), column);
  ValueGrid gaeb(Group(QStringLiteral("GAEB"), QStringLiteral("gbGAEBInfo"), column), captions_);
  AddValue("VERSION", gaeb.Value(QStringLiteral("Version"), QStringLiteral("lblVersion")));
  AddValue("AUSGABE",
           gaeb.Value(QStringLiteral("Ausgabe (Monat/Jahr)"), QStringLiteral("lblAusgabe")));
  AddValue("ERSTELLUNG",
           gaeb.Value(QStringLiteral("Erstellungsdatum"), QStringLiteral("lblErstellungsdatum")));
  AddValue("PROGSYSTEM",
           gaeb.Value(QStringLiteral("Programmsystem"), QStringLiteral("lblProgSystem")));
  AddValue("PROGNAME", gaeb.Value(QStringLiteral("Umsetzprogramm"), QStringLiteral("lblProgName")));
  AddValue("ZEICHENSATZ",
           gaeb.Value(QStringLiteral("Zeichensatz"), QStringLiteral("lblZeichensatz")));
  lblZertifikat_ = new QLabel(QStringLiteral("Pr\u00FCfzertifikat GAEB DA 2000 liegt vor."));
  lblZertifikat_->setObjectName(QStringLiteral("lblZertifikat"));
  lblZertifikat_->setVisible(false);
  gaeb.Line(lblZertifikat_);

  ValueGrid project(Group(QStringLiteral("Projekt"), QStringLiteral("gbPrjInfo"), column),
                    captions_);
  AddValue("NAME", project.Value(QStringLiteral("Name"), QStringLiteral("lblPrjName")));
  AddValue("BEZ", project.Value(QStringLiteral("Bezeichnung"), QStringLiteral("lblPrjBez")));
  AddValue("BESCHREIB",
           project.Value(QStringLiteral("Beschreibung"), QStringLiteral("lblPrjBeschreib")));
  AddValue("ZUSTEXT", project.Value(QStringLiteral("zus\u00E4tzlicher Text"),
                                    QStringLiteral("lblPrjZusText")));
  column->addStretch(1);
}

void InfoPageSet::BuildVergabeInfoPage() {
  QVBoxLayout* column;
  tsVergabeInfo =
      Page(pc_, QStringLiteral("tsVergabeInfo"), QStringLiteral("&Vergabe-Info"), column);
  ValueGrid award(Group(QStringLiteral("Vergabe"), QStringLiteral("gbVergabeInfo"), column),
                  captions_);
  AddValue("ART", award.Value(QStringLiteral("Art"), QStringLiteral("lblArt")));
  AddValue("EROEFFNUNG",
           award.Value(QStringLiteral("Er\u00F6ffnungstermin"), QStringLiteral("lblErDatum")));
  AddValue("ZUSENDE", award.Value(QStringLiteral("Zuschlagsfrist"), QStringLiteral("lblZusEnde")));
  AddValue("ABGABEORT", award.Value(QStringLiteral("Abgabeort"), QStringLiteral("lblAbgabeOrt")));
  AddValue(
      "AUSFBEGINN",
      award.Value(QStringLiteral("Beginn der Ausf\u00FChrung"), QStringLiteral("lblAusfBeginn"),
                  QStringLiteral("Voraussichtlicher Beginn der Ausf\u00FChrungszeit")));
  AddValue("AUSFENDE",
           award.Value(QStringLiteral("Ende der Ausf\u00FChrung"), QStringLiteral("lblAusfEnde"),
                       QStringLiteral("Voraussichtliches Ende der Ausf\u00FChrungszeit")));
  AddValue("ABNAHMEDATUM",
           award.Value(QStringLiteral("Datum der Abnahme"), QStringLiteral("lblAbnahmeDatum")));
  AddValue("GWLDAUER", award.Value(QStringLiteral("Dauer der Gew\u00E4hrleistung"),
                                   QStringLiteral("lblGwlDauer")));
  AddValue("GWLENDE", award.Value(QStringLiteral("Ende der Gew\u00E4hrleistung"),
                                  QStringLiteral("lblGwlEnde")));
  AddValue("ABNAHMEART",
           award.Value(QStringLiteral("Art der Abnahme"), QStringLiteral("lblAbnahmeArt")));

  BindRows(Group(QStringLiteral("Angebot"), QStringLiteral("gbAngebot"), column),
           OfferFieldBindings());
  eAngebDatum_ = FieldOf("VERGABEINFO", "ANGEBDATUM");
  column->addStretch(1);
}

void InfoPageSet::BuildAgPage() {
  QVBoxLayout* column;
  tsAG = Page(pc_, QStringLiteral("tsAG"), QStringLiteral("&Auftraggeber"), column);
  ValueGrid client(Group(QStringLiteral("Auftraggeber"), QStringLiteral("gbAG"), column),
                   captions_);
  const auto caption = [](std::string_view member) {
    return FromCp1252(std::string(PartyCaption(member)));
  };
  AddValue("AG.DVNR", client.Value(caption("DVNR"), QStringLiteral("lblAgDVNr")));
  AddValue("AG.VERGNR", client.Value(caption("VERGNR"), QStringLiteral("lblAgVergNr")));
  AddValue("AG.STAAT", client.Value(caption("ARTSTAAT"), QStringLiteral("lblAgStaat")));
  AddValue("AG.ADRESSE", client.Value(QStringLiteral("Adresse"), QStringLiteral("lblAgAdresse")));
  column->addStretch(1);
}

void InfoPageSet::BuildAnPage() {
  QVBoxLayout* column;
  tsAN = Page(pc_, QStringLiteral("tsAN"), QStringLiteral("Auftrag&nehmer"), column);
  BindRows(Group(QStringLiteral("Bieter"), QStringLiteral("paAN"), column), BidderFieldBindings());
  BindRows(Group(QStringLiteral("Anschrift"), QStringLiteral("paAN_ADR"), column),
           AddressFieldBindings());
  column->addStretch(1);
  FieldOf("AN", "ARTSTAAT")->setText(QStringLiteral("EWR"));
}

// Each binding with a caption starts a row; those without join it.
void InfoPageSet::BindRows(QGroupBox* group, std::span<const EntryField> bindings) {
  ValueGrid grid(group, captions_);
  for (size_t i = 0; i < bindings.size();) {
    std::vector<QLineEdit*> row;
    do {
      const EntryField& binding = bindings[i];
      QLineEdit* field = Field(binding.ObjectName, InfoFieldMaxLength(binding),
                               binding.Hint ? FromCp1252(binding.Hint) : QString());
      field->installEventFilter(this);
      bound_[field] = &binding;
      row.push_back(field);
      ++i;
    } while (i < bindings.size() && !bindings[i].Caption);
    grid.Fields(FromCp1252(bindings[i - row.size()].Caption), row);
  }
}

QLineEdit* InfoPageSet::FieldOf(std::string_view element, std::string_view member) const {
  for (const auto& [field, binding] : bound_)
    if (binding->Element == element && binding->Member == member)
      return const_cast<QLineEdit*>(field);
  return nullptr;
}

void InfoPageSet::FocusAddressField(const std::string& member) {
  if (QLineEdit* field = FieldOf("ADRESSE", member)) field->setFocus(Qt::OtherFocusReason);
}

KsGAEBObj* InfoPageSet::Owner(const EntryField& binding) const {
  const std::string_view element = binding.Element;
  if (element == "VERGABEINFO") return document_->VergabeInfo;
  if (element == "AN") return document_->An;
  return document_->An ? document_->An->Child("ADRESSE") : nullptr;
}

// Line breaks at the end would only add empty space under the value.
void InfoPageSet::SetValue(const char* key, const std::string& text) {
  values_.at(key)->setText(FromCp1252(ReplaceAll(TrimRight(text), "\r\n", "\n")));
}

void InfoPageSet::Fill() {
  const KsGAEBObj* info = document_->GaebInfo;
  SetValue("VERSION", Text(info, "VERSION"));
  SetValue("AUSGABE", Joined({Text(info, "VERSMON"), Text(info, "VERSJAHR")}, "/"));
  SetValue("ERSTELLUNG", Joined({Text(info, "DATUM"), Text(info, "UHRZEIT")}, " "));
  SetValue("PROGSYSTEM", Text(info, "PROGSYSTEM"));
  SetValue("PROGNAME", Text(info, "PROGNAME"));
  SetValue("ZEICHENSATZ", Text(info, "ZEICHENSATZ"));
  lblZertifikat_->setVisible(Text(info, "ZERTIFIKAT") == "J");

  const KsGAEBObj* project = document_->PrjInfo;
  SetValue("NAME", Text(project, "NAME"));
  SetValue("BEZ", Text(project, "BEZ"));
  SetValue("BESCHREIB", Text(project, "BESCHREIB"));
  SetValue("ZUSTEXT", project ? ZusTextSummary(project->ChildList("ZUSTEXT")) : std::string());

  const KsGAEBObj* award = document_->VergabeInfo;
  SetValue("ART", Text(award, "ART"));
  SetValue("EROEFFNUNG", Joined({Text(award, "ERDATUM"), Text(award, "ERUHRZEIT")}, " "));
  SetValue("ZUSENDE", Text(award, "ZUSENDE"));
  SetValue("ABGABEORT", Text(award, "ABGABEORT"));
  SetValue("AUSFBEGINN", Text(award, "AUSFBEGINN"));
  SetValue("AUSFENDE", Text(award, "AUSFENDE"));
  SetValue("ABNAHMEDATUM", Text(award, "ABNAHMEDATUM"));
  SetValue("GWLDAUER", Joined({Text(award, "GWLDAUER"), Text(award, "GWLEINHEIT")}, " "));
  SetValue("GWLENDE", Text(award, "GWLENDE"));
  SetValue("ABNAHMEART", Text(award, "ABNAHMEART"));
  for (const EntryField& binding : OfferFieldBindings())
    FieldOf(binding.Element, binding.Member)->setText(FromCp1252(Text(award, binding.Member)));

  const KsGAEBObj* client = document_->Ag;
  SetValue("AG.DVNR", Text(client, "DVNR"));
  SetValue("AG.VERGNR", Text(client, "VERGNR"));
  SetValue("AG.STAAT", Joined({Text(client, "ARTSTAAT"), Text(client, "NAMESTAAT")}, " "));
  SetValue("AG.ADRESSE", client ? AddressText(client->Child("ADRESSE")) : std::string());
}
