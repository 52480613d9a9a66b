#include "ui/help_guide.h"

namespace {

const char kGuide[] = R"html(<html><body style="color:#000000; background-color:#ffffff;">
<p><b>Tarvo Rudarur: Bieter - Preiserfassung</b></p>
<p>Mit diesem Programm bepreisen Sie als Bieter ein Leistungsverzeichnis (LV), das Ihnen der
Auftraggeber als GAEB 2000-Datei zur Verfügung stellt. Eingelesen werden in der Regel Dateien der
Austauschphase D83 (Angebotsaufforderung) oder D84-Dateien, die Sie bereits bearbeitet und
gespeichert haben. Nach dem Öffnen über das Menü Datei oder mit [F4] wählen Sie links im Baum die
Seiten aus: GAEB- / Projekt-Info, Vergabe-Info, Auftraggeber, Auftragnehmer, die Titel des LV und
Optionen. Angezeigt werden die GAEB-, Projekt- und Vergabedaten, die Daten des Auftraggebers und
des Auftragnehmers sowie die Titel und Positionen. Auf der Seite Vergabe-Info tragen Sie die
Währung und das Angebotsdatum (TT.MM.JJJJ) ein. Das fertige Angebot können Sie drucken und mit
[F12] als D84-Datei (Angebotsabgabe) speichern.</p>
<p><b>Auftragnehmer</b></p>
<p>Auf dieser Seite erfassen Sie die Daten Ihres Unternehmens: DV-Nummer, Vergabenummer, Staat,
Name, Ansprechpartner, Anschrift, Telefon, Fax, E-Mail und Umsatzsteuer-Identnummer. Das Programm
speichert diese Angaben beim Beenden, sofern eine Datei geöffnet war, und bietet sie beim nächsten
Start wieder an. Enthält die geöffnete Datei bereits Daten eines Auftragnehmers (Feld Name 1 nicht
leer), werden stattdessen diese Daten aus der Datei geladen.</p>
<p><b>Titel und Positionen</b></p>
<p>Wählen Sie im Baum einen Titel aus. Die Tabelle zeigt den Titel mit allen darunter liegenden
Titeln und Positionen, ein Element je Zeile. Ihre Preise tragen Sie in die freigegebenen, weiß
hinterlegten Zellen ein: bei Positionen den Einheitspreis (EP) und den Nachlass in Prozent, bei
Titeln den Nachlass in Prozent oder als Betrag. Eine leere Preiszelle heißt: kein Preis, die
Position bleibt offen und wird ohne Preis abgegeben; eine 0 ist ein Preis von 0. Ein Nachlass
muss zwischen 0 und 100 % liegen; über 50 % oder über der Titelsumme fragt das Programm nach,
bevor es ihn übernimmt. Mit [Enter] und den Pfeiltasten wechseln Sie die
Zelle, die Eingabe wird dabei übernommen. Der Gesamtbetrag jeder Position, die Titelsummen und die
Gesamtsumme werden sofort neu berechnet; Gesamtsumme, Mehrwertsteuer und Bruttosumme stehen rechts
unter der Tabelle, wo Sie auch den Mehrwertsteuersatz eingeben. Unter der Tabelle erscheint der
Langtext der gewählten Zeile, seine Schriftgröße stellen Sie im Menü Ansicht ein. Zwischen den
Titeln wechseln Sie über den Baum. Mit [Strg]+[N] springen Sie zur nächsten, mit [Strg]+[L] zur
vorherigen Position ohne Einheitspreis.</p>
<p>Lässt der Auftraggeber im Langtext einer Position Angaben des Bieters offen (Textergänzungen,
etwa "Fabrikat: ..."), stehen unter dem Langtext Eingabefelder dafür, beschriftet mit dem Text
des Auftraggebers. Ihre Angaben werden mit dem Angebot gespeichert und gedruckt; offene Felder
meldet das Programm vor dem Drucken, Speichern und Versenden. Ein gespeichertes X84-Angebot
öffnen Sie wie eine Ausschreibung; liegt die zugehörige X83-Datei nicht unter gleichem Namen
daneben, fragt das Programm nach ihr.</p>
<p>Die Spalte Typ zeigt die Art der Position:</p>
<table cellspacing="0" cellpadding="3">
<tr><td><u>Typ</u></td><td><u>Bezeichnung</u></td><td><u>betragsbildend</u></td></tr>
<tr><td>N</td><td>Normalposition</td><td>ja</td></tr>
<tr><td>B</td><td>Bedarfsposition</td><td>ja</td></tr>
<tr><td>A</td><td>Alternativposition</td><td>nein</td></tr>
<tr><td>AB</td><td>Alternative Bedarfsposition</td><td>nein</td></tr>
</table>
<p>Welche Spalten die Tabelle zeigt und in welcher Reihenfolge, legen Sie auf der Seite Optionen
fest.</p>
<p><b>Optionen</b></p>
<p>Hier stellen Sie die Tabelle der Seite Titel-Positionen ein: Ein Häkchen vor einer Spalte
blendet sie ein, ohne Häkchen ist sie ausgeblendet. Die Reihenfolge ändern Sie, indem Sie eine
Spalte mit der Maus auf eine andere ziehen (Drag &amp; Drop). Die Schaltfläche <i>Standard</i>
stellt die mitgelieferte Einstellung wieder her. Die Tabelle übernimmt die Einstellung, wenn Sie
die Registerkarte Titel-Positionen wählen oder eine Datei öffnen. Ist <i>Langtext drucken</i>
eingeschaltet, wird zu jedem Titel und jeder Position auch der Langtext gedruckt. Die zuletzt
gewählte Einstellung wird beim nächsten Start wiederhergestellt.</p>
<p><b>Besonderheit EP-Aufgleiderung</b></p>
<p>Verlangt der Auftraggeber eine Aufgliederung der Einheitspreise, sind die Eingabefelder für
die Preisanteile EP 1 bis EP 6 bei den Positionen freigegeben, für die er sie fordert; der
Einheitspreis ergibt sich dann aus der Summe der Anteile. Sonst bleiben diese Felder gesperrt. Die
Spalten blenden Sie bei Bedarf auf der Seite Optionen ein.</p>
<p><b>Weitere Funktionen</b></p>
<p>Das Menü Datei bietet Ihnen die neun zuletzt geöffneten oder gespeicherten Dateien zum
schnellen Öffnen an. Mit [F9] drucken Sie das Angebot mit Kopfdaten, Positionen, Titelsummen und
Gesamtsumme. Mit [Strg][E] senden Sie eine E-Mail über die MAPI-Schnittstelle Ihres E-Mail-Programms
(zum Beispiel MS-Outlook oder MS-Outlook Express, unter Linux das E-Mail-Programm Ihres Desktops) an
die Adresse des Auftraggebers aus der GAEB-Datei; die D84-Datei wird angehängt. Schlägt der
Versand fehl, schalten Sie auf der Seite Optionen die Option „Nachricht anzeigen vor dem E-Mail
Verschicken“ aus und versuchen es erneut.</p>
</body></html>)html";

}  // namespace

QString HelpGuideHtml() { return QString::fromUtf8(kGuide); }
