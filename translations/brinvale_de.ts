<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>The setting is used now but could not be stored:
%1</source>
        <translation>Die Einstellung gilt jetzt, konnte aber nicht gespeichert werden:
%1</translation>
    </message>
</context>
<context>
    <name>RunTexts</name>
    <message>
        <source>Loading Structure:  %1  :  %2 Directories</source>
        <translation>Struktur wird geladen:  %1  :  %2 Verzeichnisse</translation>
    </message>
    <message>
        <source>Loading Structure:  %1</source>
        <translation>Struktur wird geladen:  %1</translation>
    </message>
    <message>
        <source>Loading %1 Folders</source>
        <translation>%1 Ordner werden geladen</translation>
    </message>
    <message>
        <source>Profiling %1 of %2 in %3</source>
        <translation>Profilerstellung: %1 von %2 in %3</translation>
    </message>
    <message>
        <source>Profiling %1 Files in %2</source>
        <translation>Profilerstellung: %1 Dateien in %2</translation>
    </message>
    <message>
        <source>Changes in %1</source>
        <translation>Änderungen in %1</translation>
    </message>
    <message>
        <source>Updating %1</source>
        <translation>%1 wird aktualisiert</translation>
    </message>
    <message>
        <source>Create New Profile(s)?</source>
        <translation>Neue(s) Profil(e) anlegen?</translation>
    </message>
    <message>
        <source>I do not yet have a profile for %1 of the drives you selected.
Do you want to create it now?</source>
        <translation>Für %1 der ausgewählten Laufwerke gibt es noch kein Profil.
Soll es jetzt angelegt werden?</translation>
    </message>
    <message>
        <source>I do not yet have profiles for %1 of the drives you selected.
Do you want to create them now?</source>
        <translation>Für %1 der ausgewählten Laufwerke gibt es noch keine Profile.
Sollen sie jetzt angelegt werden?</translation>
    </message>
    <message>
        <source>Some places of drive %1 could not be read; what they held at the last run is kept in its profile:
%2</source>
        <translation>Einige Stellen des Laufwerks %1 konnten nicht gelesen werden; ihr Inhalt beim letzten Lauf bleibt im Profil erhalten:
%2</translation>
    </message>
    <message>
        <source>Some places of drive %1 could not be read and were left out:
%2</source>
        <translation>Einige Stellen des Laufwerks %1 konnten nicht gelesen werden und wurden ausgelassen:
%2</translation>
    </message>
    <message>
        <source>Drive %1 was skipped and its profile kept:
%2</source>
        <translation>Laufwerk %1 wurde übersprungen, sein Profil bleibt erhalten:
%2</translation>
    </message>
    <message>
        <source>The Ignore list could not be read, so no folder is ignored in this run.
%1</source>
        <translation>Die Ignorierliste konnte nicht gelesen werden, daher wird in diesem Lauf kein Ordner ignoriert.
%1</translation>
    </message>
    <message>
        <source>Some lines of the Ignore list were read as meant:
%1</source>
        <translation>Einige Zeilen der Ignorierliste wurden so verstanden:
%1</translation>
    </message>
    <message>
        <source>The report could not be saved: %1
The profiles of %2 were kept, so the next run reports their changes again.</source>
        <translation>Der Bericht konnte nicht gespeichert werden: %1
Die Profile von %2 bleiben erhalten, der nächste Lauf meldet ihre Änderungen also erneut.</translation>
    </message>
    <message>
        <source>The report could not be saved: %1
The profile of %2 was kept, so the next run reports its changes again.</source>
        <translation>Der Bericht konnte nicht gespeichert werden: %1
Das Profil von %2 bleibt erhalten, der nächste Lauf meldet seine Änderungen also erneut.</translation>
    </message>
    <message>
        <source>A replaced profile could not be kept in the History folder; the run went on without it:
%1</source>
        <translation>Ein ersetztes Profil konnte nicht im Verlaufsordner aufbewahrt werden; der Lauf ging ohne es weiter:
%1</translation>
    </message>
    <message>
        <source>Which hidden-files setting the new profiles were made with could not be recorded, so the next run may not say why hidden files show as added or deleted:
%1</source>
        <translation>Mit welcher Einstellung für versteckte Dateien die neuen Profile angelegt wurden, konnte nicht vermerkt werden; der nächste Lauf kann daher womöglich nicht sagen, warum versteckte Dateien als hinzugefügt oder gelöscht erscheinen:
%1</translation>
    </message>
    <message>
        <source>Hidden files are now included for %1: their files show as added this once.</source>
        <translation>Versteckte Dateien werden jetzt für %1 einbezogen: Sie erscheinen dieses eine Mal als hinzugefügt.</translation>
    </message>
    <message>
        <source>Hidden files are now left out for %1: their files show as deleted this once.</source>
        <translation>Versteckte Dateien werden jetzt für %1 ausgelassen: Sie erscheinen dieses eine Mal als gelöscht.</translation>
    </message>
</context>
<context>
    <name>app::MainWindow</name>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Rich Format Report (*.rtf) (*.rtf)</source>
        <translation>Bericht mit Formatierung (*.rtf) (*.rtf)</translation>
    </message>
    <message>
        <source>Plain Text (*.txt) (*.txt)</source>
        <translation>Reiner Text (*.txt) (*.txt)</translation>
    </message>
    <message>
        <source>Other (*)</source>
        <translation>Andere (*)</translation>
    </message>
    <message>
        <source>&amp;Find &apos;em</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Start Now</source>
        <translation>Jetzt starten</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Quit or Cancel</source>
        <translation>Beenden oder Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open an existing report (rtf or txt)</source>
        <translation>Einen vorhandenen Bericht öffnen (rtf oder txt)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save changes to current report</source>
        <translation>Änderungen am aktuellen Bericht speichern</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print report now</source>
        <translation>Bericht jetzt drucken</translation>
    </message>
    <message>
        <source>Help(F1)</source>
        <translation>Hilfe (F1)</translation>
    </message>
    <message>
        <source>Use (F1) anytime for context sensitve help</source>
        <translation>Mit (F1) jederzeit Hilfe zur aktuellen Stelle</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>&amp;Berichte</translation>
    </message>
    <message>
        <source>&amp;Create (Find Changes)</source>
        <translation>&amp;Erstellen (Änderungen suchen)</translation>
    </message>
    <message>
        <source>&amp;Open Existing Report</source>
        <translation>Vorhandenen Bericht ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Compare With an Earlier Run...</source>
        <translation>Mit einem früheren Lauf &amp;vergleichen...</translation>
    </message>
    <message>
        <source>&amp;Save Report</source>
        <translation>Bericht &amp;speichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>P&amp;rinting Options</source>
        <translation>Druck&amp;optionen</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Set Folders to &amp;Ignore</source>
        <translation>Zu &amp;ignorierende Ordner festlegen</translation>
    </message>
    <message>
        <source>&amp;Folders Watched as Drives...</source>
        <translation>Als Laufwerke &amp;beobachtete Ordner...</translation>
    </message>
    <message>
        <source>&amp;Sound Off</source>
        <translation>&amp;Töne aus</translation>
    </message>
    <message>
        <source>&amp;Include Recycle Bins</source>
        <translation>&amp;Papierkörbe einbeziehen</translation>
    </message>
    <message>
        <source>Include &amp;Hidden Files and Folders</source>
        <translation>&amp;Versteckte Dateien und Ordner einbeziehen</translation>
    </message>
    <message>
        <source>&amp;Next Run is Info Only</source>
        <translation>&amp;Nächster Lauf nur zur Information</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Index</source>
        <translation>In&amp;dex</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Orlo Online (&amp;Go)</source>
        <translation>Orlo online (&amp;Los)</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Brinvale is already open for this program folder.</source>
        <translation>Brinvale ist für diesen Programmordner bereits geöffnet.</translation>
    </message>
    <message>
        <source>Brinvale cannot start: it cannot create the folder for its reports,
%1

%2</source>
        <translation>Brinvale kann nicht starten: Der Ordner für seine Berichte kann nicht angelegt werden,
%1

%2</translation>
    </message>
    <message>
        <source>%1; the default settings are used.</source>
        <translation>%1; die Standardeinstellungen werden verwendet.</translation>
    </message>
    <message>
        <source>Error #%1 %2 called from load</source>
        <translation>Fehler Nr. %1 %2 beim Laden</translation>
    </message>
    <message>
        <source>%1 is not a Brinvale report: Save will ask for a new name.</source>
        <translation>%1 ist kein Brinvale-Bericht: Speichern fragt nach einem neuen Namen.</translation>
    </message>
    <message>
        <source>%1 Error Called from mnuOpen
%2</source>
        <translation>Fehler %1 beim Speichern
%2</translation>
    </message>
    <message>
        <source>There does not apear to be anything to save yet</source>
        <translation>Es gibt anscheinend noch nichts zu speichern</translation>
    </message>
    <message>
        <source>Select Name for Report File</source>
        <translation>Namen für die Berichtsdatei wählen</translation>
    </message>
    <message>
        <source>Save Report?</source>
        <translation>Bericht speichern?</translation>
    </message>
    <message>
        <source>Save Changes to this Report?</source>
        <translation>Änderungen an diesem Bericht speichern?</translation>
    </message>
    <message>
        <source>The report cannot be shown.
%1</source>
        <translation>Der Bericht kann nicht angezeigt werden.
%1</translation>
    </message>
    <message>
        <source>Loading %1</source>
        <translation>%1 wird geladen</translation>
    </message>
    <message>
        <source>The report could not be read to its end, so it is not shown.
%1</source>
        <translation>Der Bericht konnte nicht bis zum Ende gelesen werden und wird daher nicht angezeigt.
%1</translation>
    </message>
</context>
<context>
    <name>app::ReportCommands</name>
    <message>
        <source>Reports (rtf/txt) (*.rtf *.txt)</source>
        <translation>Berichte (rtf/txt) (*.rtf *.txt)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Select Report to Open</source>
        <translation>Zu öffnenden Bericht wählen</translation>
    </message>
    <message>
        <source>The report could not be opened.
%1</source>
        <translation>Der Bericht konnte nicht geöffnet werden.
%1</translation>
    </message>
    <message>
        <source>%1 is not a report or a text file; it was not opened.</source>
        <translation>%1 ist weder ein Bericht noch eine Textdatei; die Datei wurde nicht geöffnet.</translation>
    </message>
    <message>
        <source>Printed to %1</source>
        <translation>Gedruckt in %1</translation>
    </message>
</context>
<context>
    <name>app::RunStatus</name>
    <message>
        <source>Not checked: %1; its profile is unchanged.</source>
        <translation>Nicht geprüft: %1; sein Profil ist unverändert.</translation>
    </message>
    <message>
        <source>Not checked: %1; their profiles are unchanged.</source>
        <translation>Nicht geprüft: %1; ihre Profile sind unverändert.</translation>
    </message>
    <message>
        <source>The run had already finished when Cancel was pressed.</source>
        <translation>Der Lauf war schon beendet, als Abbrechen gedrückt wurde.</translation>
    </message>
    <message>
        <source>The run had already saved its report when Cancel was pressed.</source>
        <translation>Der Lauf hatte seinen Bericht schon gespeichert, als Abbrechen gedrückt wurde.</translation>
    </message>
    <message>
        <source>Run cancelled.</source>
        <translation>Lauf abgebrochen.</translation>
    </message>
    <message>
        <source>Run cancelled. %1</source>
        <translation>Lauf abgebrochen. %1</translation>
    </message>
    <message>
        <source>The report shown is from an earlier run.</source>
        <translation>Der angezeigte Bericht stammt von einem früheren Lauf.</translation>
    </message>
    <message>
        <source>%1: %2 in %3</source>
        <translation>%1: %2 in %3</translation>
    </message>
    <message>
        <source>%1 file</source>
        <translation>%1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1 folder</source>
        <translation>%1 Ordner</translation>
    </message>
    <message>
        <source>%1 folders</source>
        <translation>%1 Ordnern</translation>
    </message>
    <message>
        <source>Profile created for %1.</source>
        <translation>Profil angelegt für %1.</translation>
    </message>
    <message>
        <source>Profiles created for %1.</source>
        <translation>Profile angelegt für %1.</translation>
    </message>
    <message>
        <source>Report saved: %1.</source>
        <translation>Bericht gespeichert: %1.</translation>
    </message>
    <message>
        <source>Reports saved: %1.</source>
        <translation>Berichte gespeichert: %1.</translation>
    </message>
    <message>
        <source>Showing %1.</source>
        <translation>Angezeigt wird %1.</translation>
    </message>
    <message>
        <source>Info only: the stored profiles were not replaced.</source>
        <translation>Nur zur Information: Die gespeicherten Profile wurden nicht ersetzt.</translation>
    </message>
</context>
<context>
    <name>app::SoundCues</name>
    <message>
        <source>Turn Off &amp;Sounds</source>
        <translation>&amp;Töne ausschalten</translation>
    </message>
    <message>
        <source>Turn &amp;Sounds On</source>
        <translation>&amp;Töne einschalten</translation>
    </message>
    <message>
        <source>Soundcard not Found</source>
        <translation>Keine Soundkarte gefunden</translation>
    </message>
    <message>
        <source>Compatible Soundcard Not Detected</source>
        <translation>Keine passende Soundkarte erkannt</translation>
    </message>
</context>
<context>
    <name>app::WindowRun</name>
    <message>
        <source>No earlier run is kept yet: each run that replaces a drive&apos;s profile keeps the one it replaces.</source>
        <translation>Noch ist kein früherer Lauf aufbewahrt: Jeder Lauf, der das Profil eines Laufwerks ersetzt, bewahrt das ersetzte auf.</translation>
    </message>
    <message>
        <source>The comparison cannot start:
%1</source>
        <translation>Der Vergleich kann nicht beginnen:
%1</translation>
    </message>
    <message>
        <source>The profiles chosen of %1 are no longer all there: a run has changed its history since. Nothing was compared.</source>
        <translation>Die gewählten Profile von %1 sind nicht mehr alle vorhanden: Ein Lauf hat seinen Verlauf inzwischen geändert. Es wurde nichts verglichen.</translation>
    </message>
    <message>
        <source>the stored profile</source>
        <translation>dem gespeicherten Profil</translation>
    </message>
    <message>
        <source>the profile of %1</source>
        <translation>dem Profil vom %1</translation>
    </message>
    <message>
        <source>Compared %1 as of %2 with %3: %4 %5. Report saved: %6.</source>
        <translation>%1 vom %2 verglichen mit %3: %4 %5. Bericht gespeichert: %6.</translation>
    </message>
    <message>
        <source>change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <source>changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>It could not be shown: %1</source>
        <translation>Er konnte nicht angezeigt werden: %1</translation>
    </message>
    <message>
        <source>Comparison cancelled: nothing was saved.</source>
        <translation>Vergleich abgebrochen: Es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>The comparison of %1 as of %2 with %3 failed: %4</source>
        <translation>Der Vergleich von %1 vom %2 mit %3 ist fehlgeschlagen: %4</translation>
    </message>
    <message>
        <source>Warning: %1.</source>
        <translation>Warnung: %1.</translation>
    </message>
    <message>
        <source>The run cannot start:
%1</source>
        <translation>Der Lauf kann nicht beginnen:
%1</translation>
    </message>
</context>
<context>
    <name>app::WindowRunUserInterface</name>
    <message>
        <source>Abort?: No Drive(s) Selected</source>
        <translation>Abbrechen? Kein Laufwerk ausgewählt</translation>
    </message>
</context>
<context>
    <name>dialogs::AboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>%1 icon</source>
        <translation>Symbol von %1</translation>
    </message>
    <message>
        <source>%1, Version %2</source>
        <translation>%1, Version %2</translation>
    </message>
    <message>
        <source>Take Control of your Hard Drives. </source>
        <translation>Behalten Sie Ihre Festplatten im Griff. </translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Trennlinie</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminformationen...</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Systeminformationen sind zurzeit nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>dialogs::DriveSelectionDialog</name>
    <message>
        <source>Drive Selection</source>
        <translation>Laufwerksauswahl</translation>
    </message>
    <message>
        <source>[F1] for help</source>
        <translation>[F1] für Hilfe</translation>
    </message>
    <message>
        <source>Please Select Drive(s) to Scan / Update</source>
        <translation>Bitte zu prüfende / zu aktualisierende Laufwerke wählen</translation>
    </message>
    <message>
        <source>Drives</source>
        <translation>Laufwerke</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Continue With Search</source>
        <translation>Mit der Suche fortfahren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>No Drive Be Selected / Cancel Search</source>
        <translation>Kein Laufwerk auswählen / Suche abbrechen</translation>
    </message>
    <message>
        <source>Report Options</source>
        <translation>Berichtsoptionen</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Trennlinie</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern als</translation>
    </message>
    <message>
        <source>Default Name</source>
        <translation>Standardname</translation>
    </message>
    <message>
        <source>by Time &amp;&amp; Date</source>
        <translation>nach Zeit &amp;&amp; Datum</translation>
    </message>
    <message>
        <source>%1  (not available)</source>
        <translation>%1  (nicht verfügbar)</translation>
    </message>
</context>
<context>
    <name>dialogs::FolderChooser</name>
    <message>
        <source>This folder cannot be opened.</source>
        <translation>Dieser Ordner kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>dialogs::FolderDrivesDialog</name>
    <message>
        <source>Folders Watched as Drives, [F1] for help</source>
        <translation>Als Laufwerke beobachtete Ordner, [F1] für Hilfe</translation>
    </message>
    <message>
        <source>These folders are offered in the Drive Selection as drives of their own:</source>
        <translation>Diese Ordner bietet die Laufwerksauswahl als eigene Laufwerke an:</translation>
    </message>
    <message>
        <source>Folders watched as drives</source>
        <translation>Als Laufwerke beobachtete Ordner</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>There Now</source>
        <translation>Jetzt vorhanden</translation>
    </message>
    <message>
        <source>&amp;Add Folder...</source>
        <translation>Ordner &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation>&amp;Entfernen...</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Fertig</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Choose a Folder to Watch as a Drive</source>
        <translation>Ordner wählen, der als Laufwerk beobachtet wird</translation>
    </message>
    <message>
        <source>%1 was not added; nothing was changed.</source>
        <translation>%1 wurde nicht hinzugefügt; es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Stop watching %1 as drive %2? Its profile is kept, and the letter stays reserved for it.</source>
        <translation>%1 nicht mehr als Laufwerk %2 beobachten? Sein Profil bleibt erhalten, und der Buchstabe bleibt für ihn reserviert.</translation>
    </message>
    <message>
        <source>Remove and Delete Its Profile</source>
        <translation>Entfernen und sein Profil löschen</translation>
    </message>
    <message>
        <source>Stop watching %1 as drive %2? It has no profile, so the letter becomes free.</source>
        <translation>%1 nicht mehr als Laufwerk %2 beobachten? Er hat kein Profil, der Buchstabe wird also frei.</translation>
    </message>
    <message>
        <source>Delete the profile of drive %1 (%2)? The changes since its last run can then no longer be reported, and the letter %1 becomes free for another drive.</source>
        <translation>Das Profil des Laufwerks %1 (%2) löschen? Die Änderungen seit seinem letzten Lauf können dann nicht mehr gemeldet werden, und der Buchstabe %1 wird für ein anderes Laufwerk frei.</translation>
    </message>
    <message>
        <source>Drive %1 was not removed; nothing was changed.</source>
        <translation>Laufwerk %1 wurde nicht entfernt; es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Drive %1 is no longer watched, but its profile could not be deleted, so the letter stays reserved for it.</source>
        <translation>Laufwerk %1 wird nicht mehr beobachtet, sein Profil konnte aber nicht gelöscht werden; der Buchstabe bleibt daher reserviert.</translation>
    </message>
    <message>
        <source>The profile of drive %1 was deleted; its history is kept, so the letter stays reserved for it.</source>
        <translation>Das Profil des Laufwerks %1 wurde gelöscht; sein Verlauf bleibt erhalten, der Buchstabe bleibt daher reserviert.</translation>
    </message>
</context>
<context>
    <name>dialogs::HistoryDialog</name>
    <message>
        <source>Compare With an Earlier Run, [F1] for help</source>
        <translation>Mit einem früheren Lauf vergleichen, [F1] für Hilfe</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>&amp;Laufwerk:</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Size and changes of each run</source>
        <translation>Größe und Änderungen jedes Laufs</translation>
    </message>
    <message>
        <source>The drive&apos;s total size after each run as a line, the bytes each run added and deleted as bars; the list below holds the same figures.</source>
        <translation>Die Gesamtgröße des Laufwerks nach jedem Lauf als Linie, die von jedem Lauf hinzugefügten und gelöschten Bytes als Balken; die Liste darunter enthält dieselben Zahlen.</translation>
    </message>
    <message>
        <source>&amp;Earlier runs:</source>
        <translation>&amp;Frühere Läufe:</translation>
    </message>
    <message>
        <source>Earlier runs</source>
        <translation>Frühere Läufe</translation>
    </message>
    <message>
        <source>Made</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Net change</source>
        <translation>Nettoänderung</translation>
    </message>
    <message>
        <source>&amp;Compare</source>
        <translation>&amp;Vergleichen</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>No drive has earlier runs kept yet.</source>
        <translation>Für kein Laufwerk sind bisher frühere Läufe aufbewahrt.</translation>
    </message>
    <message>
        <source>No earlier runs of this drive are kept.</source>
        <translation>Von diesem Laufwerk sind keine früheren Läufe aufbewahrt.</translation>
    </message>
    <message>
        <source>Total size</source>
        <translation>Gesamtgröße</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Ausgewählt</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Hinzugefügt</translation>
    </message>
    <message>
        <source>Deleted</source>
        <translation>Gelöscht</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <source>Total size (%1)</source>
        <translation>Gesamtgröße (%1)</translation>
    </message>
    <message>
        <source>Added and deleted (%1)</source>
        <translation>Hinzugefügt und gelöscht (%1)</translation>
    </message>
    <message>
        <source>The drive has no stored profile: select a second run to compare with.</source>
        <translation>Das Laufwerk hat kein gespeichertes Profil: Wählen Sie einen zweiten Lauf zum Vergleich.</translation>
    </message>
    <message>
        <source>Select one run, or two to compare with each other.</source>
        <translation>Wählen Sie einen Lauf oder zwei, die miteinander verglichen werden.</translation>
    </message>
    <message>
        <source>Select a run to compare with the stored profile, or two to compare with each other.</source>
        <translation>Wählen Sie einen Lauf zum Vergleich mit dem gespeicherten Profil oder zwei, die miteinander verglichen werden.</translation>
    </message>
</context>
<context>
    <name>dialogs::IgnoreListDialog</name>
    <message>
        <source>Set Folders to Ignore, [F1] for help</source>
        <translation>Zu ignorierende Ordner festlegen, [F1] für Hilfe</translation>
    </message>
    <message>
        <source>These Directory Folders will NOT be checked</source>
        <translation>Diese Ordner werden NICHT geprüft</translation>
    </message>
    <message>
        <source>&amp;Add A Folder</source>
        <translation>Ordner &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove Folder</source>
        <translation>Ordner &amp;entfernen</translation>
    </message>
    <message>
        <source>&amp;Discard Changes </source>
        <translation>Änderungen &amp;verwerfen </translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Folder picker</source>
        <translation>Ordnerauswahl</translation>
    </message>
    <message>
        <source>Please Select A Folder (Double Click) </source>
        <translation>Bitte einen Ordner wählen (Doppelklick) </translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Selected Path: </source>
        <translation>Gewählter Pfad: </translation>
    </message>
    <message>
        <source>Also Ignore Its &amp;Sub-Folders</source>
        <translation>Auch seine &amp;Unterordner ignorieren</translation>
    </message>
    <message>
        <source>Then &amp;Click Here</source>
        <translation>Dann hier &amp;klicken</translation>
    </message>
    <message>
        <source>The list of folders to ignore could not be saved. It stays open here.</source>
        <translation>Die Ignorierliste konnte nicht gespeichert werden. Sie bleibt hier geöffnet.</translation>
    </message>
    <message>
        <source>Drive %1 is not available.</source>
        <translation>Laufwerk %1 ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>A folder whose name holds a line break cannot be put in the list.</source>
        <translation>Ein Ordner, dessen Name einen Zeilenumbruch enthält, kann nicht in die Liste aufgenommen werden.</translation>
    </message>
    <message>
        <source>Item must be selected (by clicking) before it can be deleted</source>
        <translation>Ein Eintrag muss (durch Klicken) ausgewählt sein, bevor er gelöscht werden kann</translation>
    </message>
    <message>
        <source>Delete %1 From List?</source>
        <translation>%1 aus der Liste löschen?</translation>
    </message>
    <message>
        <source>Save Changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <source>Save Changes you Just Made?</source>
        <translation>Die eben gemachten Änderungen speichern?</translation>
    </message>
</context>
<context>
    <name>dialogs::MultiReportDialog</name>
    <message>
        <source>Multipe Volumes Selected</source>
        <translation>Mehrere Laufwerke ausgewählt</translation>
    </message>
    <message>
        <source>Multiple Dirves Selected  Please choose an option:</source>
        <translation>Mehrere Laufwerke ausgewählt  Bitte eine Möglichkeit wählen:</translation>
    </message>
    <message>
        <source>Create:</source>
        <translation>Erstellen:</translation>
    </message>
    <message>
        <source>One Large Report</source>
        <translation>Einen großen Bericht</translation>
    </message>
    <message>
        <source>Separate Report for Each Drive</source>
        <translation>Einen eigenen Bericht für jedes Laufwerk</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>dialogs::OptionsDialog</name>
    <message>
        <source>Options, [F1] for Help</source>
        <translation>Optionen, [F1] für Hilfe</translation>
    </message>
    <message>
        <source>Create As</source>
        <translation>Erstellen als</translation>
    </message>
    <message>
        <source>Default Name</source>
        <translation>Standardname</translation>
    </message>
    <message>
        <source>By Time &amp;&amp; Date</source>
        <translation>Nach Zeit &amp;&amp; Datum</translation>
    </message>
    <message>
        <source>Report Format Options:</source>
        <translation>Optionen für das Berichtsformat:</translation>
    </message>
    <message>
        <source>Switches</source>
        <translation>Schalter</translation>
    </message>
    <message>
        <source>Next Run is Info Only (Click Here)</source>
        <translation>Nächster Lauf nur zur Information (hier klicken)</translation>
    </message>
    <message>
        <source>Include Hidden Files and Folders (Click Here)</source>
        <translation>Versteckte Dateien und Ordner einbeziehen (hier klicken)</translation>
    </message>
    <message>
        <source>Set Folders to Ignore (Click Here)</source>
        <translation>Zu ignorierende Ordner festlegen (hier klicken)</translation>
    </message>
    <message>
        <source>Set Options for Printing (Click Here)</source>
        <translation>Druckoptionen festlegen (hier klicken)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Turn Sounds Off (Click Here)</source>
        <translation>Töne ausschalten (hier klicken)</translation>
    </message>
    <message>
        <source>Turn Sounds On (Click Here)</source>
        <translation>Töne einschalten (hier klicken)</translation>
    </message>
    <message>
        <source>Sounds are on</source>
        <translation>Töne sind an</translation>
    </message>
    <message>
        <source>Sounds are off</source>
        <translation>Töne sind aus</translation>
    </message>
    <message>
        <source>Next run is info only</source>
        <translation>Nächster Lauf nur zur Information</translation>
    </message>
    <message>
        <source>Next run is a full run</source>
        <translation>Nächster Lauf ist ein vollständiger Lauf</translation>
    </message>
    <message>
        <source>Hidden files are included</source>
        <translation>Versteckte Dateien werden einbezogen</translation>
    </message>
    <message>
        <source>Hidden files are left out</source>
        <translation>Versteckte Dateien werden ausgelassen</translation>
    </message>
</context>
<context>
    <name>dialogs::Pictures</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>dialogs::PrinterSettingsDialog</name>
    <message>
        <source>Printer Selection, [F1] for help</source>
        <translation>Druckerauswahl, [F1] für Hilfe</translation>
    </message>
    <message>
        <source>Select Printer</source>
        <translation>Drucker wählen</translation>
    </message>
    <message>
        <source>Selected:</source>
        <translation>Ausgewählt:</translation>
    </message>
    <message>
        <source>Format Options</source>
        <translation>Formatoptionen</translation>
    </message>
    <message>
        <source>Black &amp;&amp; White (Plain Unformatted Text)</source>
        <translation>Schwarzweiß (reiner, unformatierter Text)</translation>
    </message>
    <message>
        <source>Black &amp; White (Plain Unformatted Text)</source>
        <translation>Schwarzweiß (reiner, unformatierter Text)</translation>
    </message>
    <message>
        <source>Color Printing (Rich Text Fortmat)</source>
        <translation>Farbdruck (Rich Text Format)</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Ränder</translation>
    </message>
    <message>
        <source> Select Margins Using Inches</source>
        <translation> Ränder in Zoll festlegen</translation>
    </message>
    <message>
        <source>Select Margins Using Inches</source>
        <translation>Ränder in Zoll festlegen</translation>
    </message>
    <message>
        <source>&amp;Top:</source>
        <translation>&amp;Oben:</translation>
    </message>
    <message>
        <source>Top:</source>
        <translation>Oben:</translation>
    </message>
    <message>
        <source>Top margin</source>
        <translation>Oberer Rand</translation>
    </message>
    <message>
        <source>&amp;Left:</source>
        <translation>&amp;Links:</translation>
    </message>
    <message>
        <source>Left:</source>
        <translation>Links:</translation>
    </message>
    <message>
        <source>Left margin</source>
        <translation>Linker Rand</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Recommend at least 0.25 for most printers</source>
        <translation>Für die meisten Drucker werden mindestens 0.25 empfohlen</translation>
    </message>
    <message>
        <source>The printer settings could not be saved.</source>
        <translation>Die Druckereinstellungen konnten nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Save Settings</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Save Printer Settings?</source>
        <translation>Druckereinstellungen speichern?</translation>
    </message>
    <message>
        <source>The saved printer settings could not be read again; the settings are as they were before this dialog opened.</source>
        <translation>Die gespeicherten Druckereinstellungen konnten nicht wieder gelesen werden; die Einstellungen sind wie vor dem Öffnen dieses Dialogs.</translation>
    </message>
</context>
<context>
    <name>dialogs::ReportOptions</name>
    <message>
        <source>Rtf (Color)</source>
        <translation>Rtf (Farbe)</translation>
    </message>
    <message>
        <source>Plain Text</source>
        <translation>Reiner Text</translation>
    </message>
    <message>
        <source>by Drive Only</source>
        <translation>nur nach Laufwerk</translation>
    </message>
</context>
<context>
    <name>help::HelpWindow</name>
    <message>
        <source>Brinvale Help</source>
        <translation>Brinvale-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>The page shown before (Alt+Left)</source>
        <translation>Die vorher gezeigte Seite (Alt+Links)</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>The page shown after (Alt+Right)</source>
        <translation>Die danach gezeigte Seite (Alt+Rechts)</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>The contents page</source>
        <translation>Die Inhaltsseite</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Type a keyword</source>
        <translation>Stichwort eingeben</translation>
    </message>
    <message>
        <source>Keyword</source>
        <translation>Stichwort</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Words to find</source>
        <translation>Zu suchende Wörter</translation>
    </message>
    <message>
        <source>Topics found</source>
        <translation>Gefundene Themen</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Index</source>
        <translation>In&amp;dex</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>Su&amp;chen</translation>
    </message>
    <message>
        <source>Help topic</source>
        <translation>Hilfethema</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
    <message>
        <source>No topic holds all of these words.</source>
        <translation>Kein Thema enthält alle diese Wörter.</translation>
    </message>
    <message>
        <source>1 topic found:</source>
        <translation>1 Thema gefunden:</translation>
    </message>
    <message>
        <source>%1 topics found:</source>
        <translation>%1 Themen gefunden:</translation>
    </message>
</context>
<context>
    <name>help::WebEntry</name>
    <message>
        <source>The web page address &quot;%1&quot; is not valid.</source>
        <translation>Die Adresse der Webseite „%1“ ist ungültig.</translation>
    </message>
    <message>
        <source>The web page %1 could not be opened. Please check that a web browser is set up on this computer, or open the address in a browser yourself.</source>
        <translation>Die Webseite %1 konnte nicht geöffnet werden. Bitte prüfen Sie, ob auf diesem Computer ein Webbrowser eingerichtet ist, oder öffnen Sie die Adresse selbst in einem Browser.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Brinvale cannot start: it has no folder for its files.

%1</source>
        <translation>Brinvale kann nicht starten: Es hat keinen Ordner für seine Dateien.

%1</translation>
    </message>
</context>
<context>
    <name>reports::Printing</name>
    <message>
        <source>Cannot print: %1</source>
        <translation>Drucken nicht möglich: %1</translation>
    </message>
    <message>
        <source>: the printed PDF would replace the report itself</source>
        <translation>: Das gedruckte PDF würde den Bericht selbst ersetzen</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot; is not available</source>
        <translation>Der Drucker „%1“ ist nicht verfügbar</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot; reported an error</source>
        <translation>Der Drucker „%1“ hat einen Fehler gemeldet</translation>
    </message>
    <message>
        <source>There is Nothing to Print</source>
        <translation>Es gibt nichts zu drucken</translation>
    </message>
</context>
</TS>
