<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>The settings could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunTexts</name>
    <message>
        <source>Loading Structure:  %1  :  %2 Directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading Structure:  %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading %1 Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profiling %1 of %2 in %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profiling %1 Files in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Updating %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create New Profile(s)?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I do not yet have a profile for %1 of the drives you selected.
Do you want to create it now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I do not yet have profiles for %1 of the drives you selected.
Do you want to create them now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some places of drive %1 could not be read; what they held at the last run is kept in its profile:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some places of drive %1 could not be read and were left out:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive %1 was skipped and its profile kept:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Ignore list could not be read, so no folder is ignored in this run.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some lines of the Ignore list were read as meant:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be saved: %1
The profiles of %2 were kept, so the next run reports their changes again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be saved: %1
The profile of %2 was kept, so the next run reports its changes again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A replaced profile could not be kept in the History folder; the run went on without it:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which hidden-files setting the new profiles were made with could not be recorded, so the next run may not say why hidden files show as added or deleted:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hidden files are now included for %1: their files show as added this once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hidden files are now left out for %1: their files show as deleted this once.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::MainWindow</name>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rich Format Report (*.rtf) (*.rtf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain Text (*.txt) (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find &apos;em</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit or Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open an existing report (rtf or txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to current report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print report now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help(F1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use (F1) anytime for context sensitve help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Create (Find Changes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Existing Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare With an Earlier Run...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;rinting Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Folders to &amp;Ignore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Folders Watched as Drives...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Sound Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Include Recycle Bins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include &amp;Hidden Files and Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next Run is Info Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orlo Online (&amp;Go)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brinvale is already open for this program folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brinvale cannot start: it cannot create the folder for its reports,
%1

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; the default settings are used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error #%1 %2 called from load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a Brinvale report: Save will ask for a new name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Error Called from mnuOpen
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There does not apear to be anything to save yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Name for Report File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Report?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Changes to this Report?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The setting is used now but could not be stored:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::ReportCommands</name>
    <message>
        <source>Reports (rtf/txt) (*.rtf *.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Report to Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be opened.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a report or a text file; it was not opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Printed to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::RunStatus</name>
    <message>
        <source>Not checked: %1; its profile is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not checked: %1; their profiles are unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run had already finished when Cancel was pressed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run had already saved its report when Cancel was pressed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run cancelled. %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report shown is from an earlier run.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 in %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile created for %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profiles created for %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report saved: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reports saved: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Showing %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info only: the stored profiles were not replaced.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::SoundCues</name>
    <message>
        <source>Turn Off &amp;Sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn &amp;Sounds On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Soundcard not Found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compatible Soundcard Not Detected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::WindowRun</name>
    <message>
        <source>No earlier run is kept yet: each run that replaces a drive&apos;s profile keeps the one it replaces.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The comparison cannot start:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The profiles chosen of %1 are no longer all there: a run has changed its history since. Nothing was compared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the stored profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the profile of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compared %1 as of %2 with %3: %4 %5. Report saved: %6.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It could not be shown: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison cancelled: nothing was saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The comparison of %1 as of %2 with %3 failed: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run cannot start:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::WindowRunUserInterface</name>
    <message>
        <source>Abort?: No Drive(s) Selected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::AboutDialog</name>
    <message>
        <source>About %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, Version %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take Control of your Hard Drives. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::DriveSelectionDialog</name>
    <message>
        <source>Drive Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[F1] for help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Select Drive(s) to Scan / Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drives</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue With Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Drive Be Selected / Cancel Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by Time &amp;&amp; Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  (not available)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::FolderChooser</name>
    <message>
        <source>This folder cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::FolderDrivesDialog</name>
    <message>
        <source>Folders Watched as Drives, [F1] for help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These folders are offered in the Drive Selection as drives of their own:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders watched as drives</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a Folder to Watch as a Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not added; nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop watching %1 as drive %2? Its profile is kept, and the letter stays reserved for it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove and Delete Its Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop watching %1 as drive %2? It has no profile, so the letter becomes free.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the profile of drive %1 (%2)? The changes since its last run can then no longer be reported, and the letter %1 becomes free for another drive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive %1 was not removed; nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive %1 is no longer watched, but its profile could not be deleted, so the letter stays reserved for it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The profile of drive %1 was deleted; its history is kept, so the letter stays reserved for it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::HistoryDialog</name>
    <message>
        <source>Compare With an Earlier Run, [F1] for help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size and changes of each run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The drive&apos;s total size after each run as a line, the bytes each run added and deleted as bars; the list below holds the same figures.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Earlier runs:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earlier runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Made</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Net change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No drive has earlier runs kept yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No earlier runs of this drive are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total size (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added and deleted (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The drive has no stored profile: select a second run to compare with.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select one run, or two to compare with each other.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a run to compare with the stored profile, or two to compare with each other.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::IgnoreListDialog</name>
    <message>
        <source>Set Folders to Ignore, [F1] for help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These Directory Folders will NOT be checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add A Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Discard Changes </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder picker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Select A Folder (Double Click) </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected Path: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also Ignore Its &amp;Sub-Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Then &amp;Click Here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of folders to ignore could not be saved. It stays open here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive %1 is not available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder whose name holds a line break cannot be put in the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item must be selected (by clicking) before it can be deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 From List?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Changes you Just Made?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::MultiReportDialog</name>
    <message>
        <source>Multipe Volumes Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multiple Dirves Selected  Please choose an option:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One Large Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separate Report for Each Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::OptionsDialog</name>
    <message>
        <source>Options, [F1] for Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By Time &amp;&amp; Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report Format Options:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Run is Info Only (Click Here)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include Hidden Files and Folders (Click Here)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Folders to Ignore (Click Here)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Options for Printing (Click Here)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn Sounds Off (Click Here)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn Sounds On (Click Here)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sounds are on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sounds are off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next run is info only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next run is a full run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hidden files are included</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hidden files are left out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::Pictures</name>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::PrinterSettingsDialog</name>
    <message>
        <source>Printer Selection, [F1] for help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Printer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black &amp;&amp; White (Plain Unformatted Text)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black &amp; White (Plain Unformatted Text)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Printing (Rich Text Fortmat)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Margins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Select Margins Using Inches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Margins Using Inches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Top:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top margin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Left:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left margin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommend at least 0.25 for most printers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer settings could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Printer Settings?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The saved printer settings could not be read again; the settings are as they were before this dialog opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogs::ReportOptions</name>
    <message>
        <source>Rtf (Color)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by Drive Only</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>help::HelpWindow</name>
    <message>
        <source>Brinvale Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page shown before (Alt+Left)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page shown after (Alt+Right)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The contents page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a keyword</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyword</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words to find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Topics found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help topic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No topic holds all of these words.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 topic found:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 topics found:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>help::WebEntry</name>
    <message>
        <source>The web page address &quot;%1&quot; is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web page %1 could not be opened. Please check that a web browser is set up on this computer, or open the address in a browser yourself.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Brinvale cannot start: it has no folder for its files.

%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
