<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>orv::AboutBox</name>
    <message>
        <source>About This Software</source>
        <translation>Über diese Software</translation>
    </message>
    <message>
        <source>%1 Setup V%2</source>
        <translation>%1 Setup V%2</translation>
    </message>
    <message>
        <source>For Bar Code and Magnetic Card Decoder</source>
        <translation>Für Strichcode- und Magnetkarten-Decoder</translation>
    </message>
    <message>
        <source>Edits, stores and transfers the decoder&apos;s settings, and updates its firmware.</source>
        <translation>Bearbeitet, speichert und überträgt die Einstellungen des Decoders und aktualisiert seine Firmware.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>System Info...</source>
        <translation>Systeminfo...</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Systeminformationen sind zurzeit nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>orv::BarCodesPanel</name>
    <message>
        <source>&amp;Symboligies</source>
        <translation>&amp;Symbologien</translation>
    </message>
    <message>
        <source>Symboligies Selection</source>
        <translation>Symbologie-Auswahl</translation>
    </message>
    <message>
        <source>&amp;UPC/EAN/JAN</source>
        <translation>&amp;UPC/EAN/JAN</translation>
    </message>
    <message>
        <source>UPC/EAN/JAN Parameters</source>
        <translation>UPC/EAN/JAN-Parameter</translation>
    </message>
    <message>
        <source>Reading Type</source>
        <translation>Leseart</translation>
    </message>
    <message>
        <source>Code &amp;39</source>
        <translation>Code &amp;39</translation>
    </message>
    <message>
        <source>Code 39 Parameters</source>
        <translation>Code-39-Parameter</translation>
    </message>
    <message>
        <source>Code 12&amp;8</source>
        <translation>Code 12&amp;8</translation>
    </message>
    <message>
        <source>Code 128 Parameters</source>
        <translation>Code-128-Parameter</translation>
    </message>
    <message>
        <source>&amp;Interleave 25</source>
        <translation>&amp;Interleave 25</translation>
    </message>
    <message>
        <source>Interleave 25 Parameters</source>
        <translation>Interleave-25-Parameter</translation>
    </message>
    <message>
        <source>Coda&amp;bar</source>
        <translation>Coda&amp;bar</translation>
    </message>
    <message>
        <source>CodaBar Parameters</source>
        <translation>CodaBar-Parameter</translation>
    </message>
    <message>
        <source>Codabar Parameters</source>
        <translation>Codabar-Parameter</translation>
    </message>
    <message>
        <source>Transmission Type of Start</source>
        <translation>Übertragung des Startzeichens</translation>
    </message>
    <message>
        <source>Transmission Type of Stop</source>
        <translation>Übertragung des Stoppzeichens</translation>
    </message>
</context>
<context>
    <name>orv::BarMiscPanel</name>
    <message>
        <source>Code &amp;ID</source>
        <translation>Code-&amp;ID</translation>
    </message>
    <message>
        <source>Define Bar Code ID</source>
        <translation>Strichcode-ID festlegen</translation>
    </message>
    <message>
        <source>Code ID</source>
        <translation>Code-ID</translation>
    </message>
    <message>
        <source>Characters &amp;Edit</source>
        <translation>Zeichen &amp;bearbeiten</translation>
    </message>
    <message>
        <source>Deleting and Inserting Edit For Output Characters</source>
        <translation>Löschen und Einfügen bei den ausgegebenen Zeichen</translation>
    </message>
    <message>
        <source>Characters Edit</source>
        <translation>Zeichen bearbeiten</translation>
    </message>
</context>
<context>
    <name>orv::Catalogue</name>
    <message>
        <source>Disable</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>EIN</translation>
    </message>
    <message>
        <source>Not Transmit</source>
        <translation>Nicht übertragen</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Keyboard Mode</source>
        <translation>Tastaturmodus</translation>
    </message>
    <message>
        <source>USB Mode</source>
        <translation>USB-Modus</translation>
    </message>
    <message>
        <source>RS232 Mode</source>
        <translation>RS232-Modus</translation>
    </message>
    <message>
        <source>7 Data Bits</source>
        <translation>7 Datenbits</translation>
    </message>
    <message>
        <source>8 Data Bits</source>
        <translation>8 Datenbits</translation>
    </message>
    <message>
        <source>2 Bits</source>
        <translation>2 Bits</translation>
    </message>
    <message>
        <source>1 Bit</source>
        <translation>1 Bit</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Gerade</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Ungerade</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>IBM PC/AT,PS/2</source>
        <translation>IBM PC/AT,PS/2</translation>
    </message>
    <message>
        <source>IBM PC/XT</source>
        <translation>IBM PC/XT</translation>
    </message>
    <message>
        <source>Apple Desktop Bus(ADB)</source>
        <translation>Apple Desktop Bus(ADB)</translation>
    </message>
    <message>
        <source>NEC 9800</source>
        <translation>NEC 9800</translation>
    </message>
    <message>
        <source>0 ms</source>
        <translation>0 ms</translation>
    </message>
    <message>
        <source>15 ms</source>
        <translation>15 ms</translation>
    </message>
    <message>
        <source>Do Not Calculate Check Digit</source>
        <translation>Prüfziffer nicht berechnen</translation>
    </message>
    <message>
        <source>Calculate Check Digit and Not Transmit</source>
        <translation>Prüfziffer berechnen und nicht übertragen</translation>
    </message>
    <message>
        <source>Calculate Check Digit and Transmit</source>
        <translation>Prüfziffer berechnen und übertragen</translation>
    </message>
    <message>
        <source>US English</source>
        <translation>US-Englisch</translation>
    </message>
    <message>
        <source>UK English</source>
        <translation>UK-Englisch</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italienisch</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Spanisch</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Swedish</source>
        <translation>Schwedisch</translation>
    </message>
    <message>
        <source>Switzerland</source>
        <translation>Schweiz</translation>
    </message>
    <message>
        <source>Hungarian</source>
        <translation>Ungarisch</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japanisch</translation>
    </message>
    <message>
        <source>Belgium</source>
        <translation>Belgien</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>Portugiesisch</translation>
    </message>
    <message>
        <source>Denmark</source>
        <translation>Dänemark</translation>
    </message>
    <message>
        <source>Netherlands</source>
        <translation>Niederlande</translation>
    </message>
    <message>
        <source>Reserved 1</source>
        <translation>Reserviert 1</translation>
    </message>
    <message>
        <source>Reserved 2</source>
        <translation>Reserviert 2</translation>
    </message>
    <message>
        <source>Device Name: </source>
        <translation>Gerätename: </translation>
    </message>
    <message>
        <source>User&apos;s Name: </source>
        <translation>Benutzername: </translation>
    </message>
    <message>
        <source>Building Date:</source>
        <translation>Erstellungsdatum:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>RS232</source>
        <translation>RS232</translation>
    </message>
    <message>
        <source>Com 1</source>
        <translation>Com 1</translation>
    </message>
    <message>
        <source>Com 2</source>
        <translation>Com 2</translation>
    </message>
    <message>
        <source>Com 3</source>
        <translation>Com 3</translation>
    </message>
    <message>
        <source>Com 4</source>
        <translation>Com 4</translation>
    </message>
    <message>
        <source>Com 5</source>
        <translation>Com 5</translation>
    </message>
    <message>
        <source>Com 6</source>
        <translation>Com 6</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>Read Memory Enable</source>
        <translation>Speicherlesen aktiv</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>Datenbits</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>Stoppbits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <source>RTS/CTS</source>
        <translation>RTS/CTS</translation>
    </message>
    <message>
        <source>ACK/NAK</source>
        <translation>ACK/NAK</translation>
    </message>
    <message>
        <source>XON/XOFF</source>
        <translation>XON/XOFF</translation>
    </message>
    <message>
        <source>Terminal Type</source>
        <translation>Terminaltyp</translation>
    </message>
    <message>
        <source>Upper/Lower Case</source>
        <translation>Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>Lower Case</source>
        <translation>Kleinbuchstaben</translation>
    </message>
    <message>
        <source>Upper Case</source>
        <translation>Großbuchstaben</translation>
    </message>
    <message>
        <source>Send Characters by ALT Method</source>
        <translation>Zeichen mit der ALT-Methode senden</translation>
    </message>
    <message>
        <source>Select Numerical Pad</source>
        <translation>Ziffernblock wählen</translation>
    </message>
    <message>
        <source>Select Terminator</source>
        <translation>Endezeichen wählen</translation>
    </message>
    <message>
        <source>CR</source>
        <translation>CR</translation>
    </message>
    <message>
        <source>LF</source>
        <translation>LF</translation>
    </message>
    <message>
        <source>CR+LF</source>
        <translation>CR+LF</translation>
    </message>
    <message>
        <source>HT(TAB)</source>
        <translation>HT(TAB)</translation>
    </message>
    <message>
        <source>STX-ETX (RS232 Mode Only)</source>
        <translation>STX-ETX (nur RS232-Modus)</translation>
    </message>
    <message>
        <source>Time-out Between Characters</source>
        <translation>Zeitlimit zwischen Zeichen</translation>
    </message>
    <message>
        <source>Symboligies Selection</source>
        <translation>Symbologie-Auswahl</translation>
    </message>
    <message>
        <source>Reading Type</source>
        <translation>Leseart</translation>
    </message>
    <message>
        <source>UPC-A=EAN-13</source>
        <translation>UPC-A=EAN-13</translation>
    </message>
    <message>
        <source>Enable ISBN/ISSN</source>
        <translation>ISBN/ISSN aktivieren</translation>
    </message>
    <message>
        <source>Supplemental Code Setup</source>
        <translation>Zusatzcode-Einstellung</translation>
    </message>
    <message>
        <source>Check Digit</source>
        <translation>Prüfziffer</translation>
    </message>
    <message>
        <source>Output As</source>
        <translation>Ausgabe als</translation>
    </message>
    <message>
        <source>Full ASCII</source>
        <translation>Voll-ASCII</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Start/Stop Character</source>
        <translation>Start-/Stoppzeichen</translation>
    </message>
    <message>
        <source>Not Optput </source>
        <translation>Nicht ausgeben </translation>
    </message>
    <message>
        <source>Output </source>
        <translation>Ausgeben </translation>
    </message>
    <message>
        <source>Interleave 25 Parameters</source>
        <translation>Interleave-25-Parameter</translation>
    </message>
    <message>
        <source>Transmission Type of Start</source>
        <translation>Übertragung des Startzeichens</translation>
    </message>
    <message>
        <source>Transmission Type of Stop</source>
        <translation>Übertragung des Stoppzeichens</translation>
    </message>
    <message>
        <source>Codabar Parameters</source>
        <translation>Codabar-Parameter</translation>
    </message>
    <message>
        <source>Set Up Start/Stop Characters Upon Transmission</source>
        <translation>Start-/Stoppzeichen bei der Übertragung festlegen</translation>
    </message>
    <message>
        <source>Language Selection</source>
        <translation>Sprachauswahl</translation>
    </message>
    <message>
        <source>Code ID</source>
        <translation>Code-ID</translation>
    </message>
    <message>
        <source>Enable Code ID</source>
        <translation>Code-ID aktivieren</translation>
    </message>
    <message>
        <source>Truncate</source>
        <translation>Abschneiden</translation>
    </message>
    <message>
        <source>Truncate Front Characters</source>
        <translation>Zeichen vorn abschneiden</translation>
    </message>
    <message>
        <source>Truncate End Characters</source>
        <translation>Zeichen hinten abschneiden</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <source>Sufix</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>Interface </source>
        <translation>Schnittstelle </translation>
    </message>
    <message>
        <source>Disable  External Keyboard</source>
        <translation>Externe  Tastatur deaktivieren</translation>
    </message>
    <message>
        <source>Stop Bit</source>
        <translation>Stoppbit</translation>
    </message>
    <message>
        <source>STX-ETX (RS232 Only)</source>
        <translation>STX-ETX (nur RS232)</translation>
    </message>
    <message>
        <source>Select Magnetic Card Standard :</source>
        <translation>Magnetkarten-Standard wählen :</translation>
    </message>
    <message>
        <source>ISO</source>
        <translation>ISO</translation>
    </message>
    <message>
        <source>JIS2</source>
        <translation>JIS2</translation>
    </message>
    <message>
        <source>Track Selection</source>
        <translation>Spurauswahl</translation>
    </message>
    <message>
        <source>Single Track</source>
        <translation>Einzelne Spur</translation>
    </message>
    <message>
        <source>Track 1 Only</source>
        <translation>Nur Spur 1</translation>
    </message>
    <message>
        <source>Track 2 Only</source>
        <translation>Nur Spur 2</translation>
    </message>
    <message>
        <source>Track 3 Only</source>
        <translation>Nur Spur 3</translation>
    </message>
    <message>
        <source>Track 1-2</source>
        <translation>Spur 1-2</translation>
    </message>
    <message>
        <source>Track 2-1</source>
        <translation>Spur 2-1</translation>
    </message>
    <message>
        <source>Track 1-2-3</source>
        <translation>Spur 1-2-3</translation>
    </message>
    <message>
        <source>Track1-3-2</source>
        <translation>Spur1-3-2</translation>
    </message>
    <message>
        <source>Track 2-1-3</source>
        <translation>Spur 2-1-3</translation>
    </message>
    <message>
        <source>Track 2-3-1</source>
        <translation>Spur 2-3-1</translation>
    </message>
    <message>
        <source>Track 3-1-2</source>
        <translation>Spur 3-1-2</translation>
    </message>
    <message>
        <source>Track 3-2-1</source>
        <translation>Spur 3-2-1</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Track 2-3</source>
        <translation>Spur 2-3</translation>
    </message>
    <message>
        <source>Track 3-2</source>
        <translation>Spur 3-2</translation>
    </message>
    <message>
        <source>Any</source>
        <translation>Beliebig</translation>
    </message>
    <message>
        <source>Send Start/Stop Character</source>
        <translation>Start-/Stoppzeichen senden</translation>
    </message>
    <message>
        <source>Track 2 Account Number Only</source>
        <translation>Nur Kontonummer von Spur 2</translation>
    </message>
    <message>
        <source>Separator Character (For Dual Or Triple Tracks)</source>
        <translation>Trennzeichen (für zwei oder drei Spuren)</translation>
    </message>
    <message>
        <source>Track 1</source>
        <translation>Spur 1</translation>
    </message>
    <message>
        <source>Track 2</source>
        <translation>Spur 2</translation>
    </message>
    <message>
        <source>Track 3</source>
        <translation>Spur 3</translation>
    </message>
    <message>
        <source>Track 1 Start Char:</source>
        <translation>Startzeichen Spur 1:</translation>
    </message>
    <message>
        <source>Track 1 End Char:</source>
        <translation>Endezeichen Spur 1:</translation>
    </message>
    <message>
        <source>Track 2 Start Char:</source>
        <translation>Startzeichen Spur 2:</translation>
    </message>
    <message>
        <source>Track 2 End Char:</source>
        <translation>Endezeichen Spur 2:</translation>
    </message>
    <message>
        <source>Track 3 Start Char:</source>
        <translation>Startzeichen Spur 3:</translation>
    </message>
    <message>
        <source>Track 3 End Char:</source>
        <translation>Endezeichen Spur 3:</translation>
    </message>
    <message>
        <source>Edit Start and End Characters</source>
        <translation>Start- und Endezeichen bearbeiten</translation>
    </message>
</context>
<context>
    <name>orv::CfgFormat</name>
    <message>
        <source>the file ends before its header is complete</source>
        <translation>die Datei endet vor dem Ende ihres Kopfes</translation>
    </message>
    <message>
        <source>the file has %1 records instead of %2</source>
        <translation>die Datei hat %1 Einträge statt %2</translation>
    </message>
    <message>
        <source>the port number %1 is not 1 to 6</source>
        <translation>die Anschlussnummer %1 liegt nicht zwischen 1 und 6</translation>
    </message>
    <message>
        <source>the link mode %1 is not 0 or 1</source>
        <translation>die Verbindungsart %1 ist weder 0 noch 1</translation>
    </message>
    <message>
        <source>image byte %1 holds %2, which is not 0 to 255</source>
        <translation>Byte %1 des Abbilds enthält %2, also nicht 0 bis 255</translation>
    </message>
</context>
<context>
    <name>orv::CommPanel</name>
    <message>
        <source>&amp;Output Character</source>
        <translation>&amp;Ausgabezeichen</translation>
    </message>
    <message>
        <source>&amp;RS232</source>
        <translation>&amp;RS232</translation>
    </message>
    <message>
        <source>RS232 Mode Parameters</source>
        <translation>Parameter des RS232-Modus</translation>
    </message>
    <message>
        <source>&amp;Keyboard</source>
        <translation>&amp;Tastatur</translation>
    </message>
    <message>
        <source>Keyboard Wedge Mode Parameters</source>
        <translation>Parameter des Tastaturmodus (Keyboard Wedge)</translation>
    </message>
    <message>
        <source>Output Characters Parameters</source>
        <translation>Parameter der Ausgabezeichen</translation>
    </message>
    <message>
        <source>&amp;Output Characters</source>
        <translation>&amp;Ausgabezeichen</translation>
    </message>
</context>
<context>
    <name>orv::Ddt</name>
    <message>
        <source>Keyboard_RS232 Test</source>
        <translation>Tastatur_RS232-Test</translation>
    </message>
    <message>
        <source>&quot;Keyboard_RS232 Test&quot; window</source>
        <translation>Fenster „Tastatur_RS232-Test“</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>Clear the keyboard box</source>
        <translation>Tastaturfeld leeren</translation>
    </message>
    <message>
        <source>RS232</source>
        <translation>RS232</translation>
    </message>
    <message>
        <source>Clear the RS232 box</source>
        <translation>RS232-Feld leeren</translation>
    </message>
    <message>
        <source>CR+LF Enable</source>
        <translation>CR+LF aktiv</translation>
    </message>
</context>
<context>
    <name>orv::DlgCtrl</name>
    <message>
        <source>Control Key</source>
        <translation>Steuerzeichen</translation>
    </message>
    <message>
        <source>Insert Control Key</source>
        <translation>Steuerzeichen einfügen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>orv::FrmIsp</name>
    <message>
        <source>Bin File(*.bin)|*.bin</source>
        <translation>Bin-Datei(*.bin)|*.bin</translation>
    </message>
    <message>
        <source>&quot;Transmit&quot; (ISP) window</source>
        <translation>Fenster „Übertragen“ (ISP)</translation>
    </message>
    <message>
        <source>ISP</source>
        <translation>ISP</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Choose the firmware file</source>
        <translation>Firmware-Datei wählen</translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>A firmware update is in progress; wait until it ends.</source>
        <translation>Eine Firmware-Aktualisierung läuft; bitte warten, bis sie endet.</translation>
    </message>
    <message>
        <source>File&apos;s Size is larger than 64K!</source>
        <translation>Die Datei ist größer als 64K!</translation>
    </message>
    <message>
        <source>Cann&apos;t Open File &apos;%1&apos;!</source>
        <translation>Datei &apos;%1&apos; kann nicht geöffnet werden!</translation>
    </message>
    <message>
        <source>You Must Input a Bin File Name</source>
        <translation>Bitte den Namen einer Bin-Datei eingeben</translation>
    </message>
</context>
<context>
    <name>orv::FrmReadMemory</name>
    <message>
        <source>Memory Data Read</source>
        <translation>Gelesene Speicherdaten</translation>
    </message>
    <message>
        <source>Memory Data File(*.txt)|*.txt</source>
        <translation>Speicherdatendatei(*.txt)|*.txt</translation>
    </message>
    <message>
        <source>memory data</source>
        <comment>what could not be saved</comment>
        <translation>Speicherdaten</translation>
    </message>
    <message>
        <source>Read Decoder Memory</source>
        <translation>Decoder-Speicher lesen</translation>
    </message>
    <message>
        <source>By Keyboard</source>
        <translation>Über Tastatur</translation>
    </message>
    <message>
        <source>By RS232</source>
        <translation>Über RS232</translation>
    </message>
    <message>
        <source>Memory data</source>
        <translation>Speicherdaten</translation>
    </message>
    <message>
        <source>&amp;Read Memory</source>
        <translation>Speicher &amp;lesen</translation>
    </message>
    <message>
        <source>&amp;Clear Memory</source>
        <translation>Speicher l&amp;öschen</translation>
    </message>
    <message>
        <source>&amp;Option</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>This will read decoder memory data!</source>
        <translation>Damit werden die Speicherdaten des Decoders gelesen!</translation>
    </message>
    <message>
        <source>This will Clear decoder memory data!</source>
        <translation>Damit werden die Speicherdaten des Decoders gelöscht!</translation>
    </message>
    <message>
        <source>Memory Data had been changed,do you want to save your file?</source>
        <translation>Die Speicherdaten wurden geändert. Möchten Sie die Datei speichern?</translation>
    </message>
</context>
<context>
    <name>orv::FrmTransmit</name>
    <message>
        <source>Download and Upload Configuration Data</source>
        <translation>Konfigurationsdaten herunterladen und hochladen</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>RS232</source>
        <translation>RS232</translation>
    </message>
    <message>
        <source>Download Option</source>
        <translation>Beim Herunterladen</translation>
    </message>
    <message>
        <source>Not Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Download to Decoder</source>
        <translation>Zum Decoder herunterladen</translation>
    </message>
    <message>
        <source>Upload To PC</source>
        <translation>Zum PC hochladen</translation>
    </message>
    <message>
        <source>Get Firmware Version</source>
        <translation>Firmware-Version abfragen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>This will replace your current data with reader&apos;s data!</source>
        <translation>Damit werden Ihre aktuellen Daten durch die Daten des Lesegeräts ersetzt!</translation>
    </message>
</context>
<context>
    <name>orv::InterfacePanel</name>
    <message>
        <source>&amp;User Information</source>
        <translation>&amp;Benutzerangaben</translation>
    </message>
    <message>
        <source>Interface Selection and 2nd Port Input Device Selection</source>
        <translation>Auswahl der Schnittstelle und des Eingabegeräts am zweiten Anschluss</translation>
    </message>
    <message>
        <source>User&apos;s Name,building date and other informations</source>
        <translation>Benutzername, Erstellungsdatum und weitere Angaben</translation>
    </message>
    <message>
        <source>&amp;Interface</source>
        <translation>&amp;Schnittstelle</translation>
    </message>
    <message>
        <source>&amp;User Informations</source>
        <translation>&amp;Benutzerangaben</translation>
    </message>
    <message>
        <source>Interface and Code ID Selection</source>
        <translation>Auswahl von Schnittstelle und Code-ID</translation>
    </message>
</context>
<context>
    <name>orv::KeyboardLinkWindow</name>
    <message>
        <source>Decoder answer</source>
        <translation>Antwort des Decoders</translation>
    </message>
</context>
<context>
    <name>orv::LinkMessages</name>
    <message>
        <source>Download OK!</source>
        <translation>Herunterladen OK!</translation>
    </message>
    <message>
        <source>Download Failed!</source>
        <translation>Herunterladen fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Upload Failed!</source>
        <translation>Hochladen fehlgeschlagen!</translation>
    </message>
    <message>
        <source>   Upload OK!   </source>
        <translation>   Hochladen OK!   </translation>
    </message>
    <message>
        <source>Be Transmiting ISP Command</source>
        <translation>ISP-Befehl wird übertragen</translation>
    </message>
    <message>
        <source>Access ISP Command OK!</source>
        <translation>ISP-Befehl angenommen!</translation>
    </message>
    <message>
        <source>A Incorrect Version No!</source>
        <translation>Falsche Versionsnummer!</translation>
    </message>
    <message>
        <source>Access ISP Command Failed!</source>
        <translation>ISP-Befehl nicht angenommen!</translation>
    </message>
    <message>
        <source>Erase Command Failed!</source>
        <translation>Löschbefehl fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Erase Command OK!</source>
        <translation>Löschbefehl OK!</translation>
    </message>
    <message>
        <source>Transmit Data Failled!</source>
        <translation>Übertragung der Daten fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Be transmiting Erase Command!</source>
        <translation>Löschbefehl wird übertragen!</translation>
    </message>
    <message>
        <source>ISP Transmit OK!</source>
        <translation>ISP-Übertragung OK!</translation>
    </message>
    <message>
        <source>Times Out Error</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>Clear Decoder Memory OK!</source>
        <translation>Decoder-Speicher gelöscht!</translation>
    </message>
    <message>
        <source>Time Out Error!</source>
        <translation>Zeitüberschreitung!</translation>
    </message>
    <message>
        <source>CFG Message</source>
        <translation>CFG-Meldung</translation>
    </message>
    <message>
        <source>Upload Message</source>
        <translation>Meldung zum Hochladen</translation>
    </message>
    <message>
        <source>Read Memory Message</source>
        <translation>Meldung zum Speicherlesen</translation>
    </message>
    <message>
        <source>Clear Memory Message</source>
        <translation>Meldung zum Speicherlöschen</translation>
    </message>
    <message>
        <source>Read Decoder Memory Message</source>
        <translation>Meldung zum Lesen des Decoder-Speichers</translation>
    </message>
    <message>
        <source>Clear Decoder Memory Message</source>
        <translation>Meldung zum Löschen des Decoder-Speichers</translation>
    </message>
    <message>
        <source>ISP Message</source>
        <translation>ISP-Meldung</translation>
    </message>
    <message>
        <source>Read Decoder Memory Failed!</source>
        <translation>Lesen des Decoder-Speichers fehlgeschlagen!</translation>
    </message>
    <message>
        <source>   Read Decoder Memory OK!<byte value="xd"/><byte value="xd"/></source>
        <translation>   Decoder-Speicher gelesen!<byte value="xd"/><byte value="xd"/></translation>
    </message>
    <message>
        <source>Clear Decoder Memory Failed!</source>
        <translation>Löschen des Decoder-Speichers fehlgeschlagen!</translation>
    </message>
    <message>
        <source>COM%1: not available.</source>
        <translation>COM%1: nicht verfügbar.</translation>
    </message>
    <message>
        <source>Get Firmware Version OK!<byte value="xd"/><byte value="xd"/>%1</source>
        <translation>Firmware-Version abgefragt!<byte value="xd"/><byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>Transmit Data For Page %1 OK!</source>
        <translation>Daten für Seite%1 übertragen!</translation>
    </message>
    <message>
        <source>Be transmiting Data From  %1To %2 : %3</source>
        <translation>Daten von%1 bis%2 werden übertragen, Versuch%3</translation>
    </message>
</context>
<context>
    <name>orv::LinkOptions</name>
    <message>
        <source>Interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>Com %1</source>
        <translation>Com %1</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Anschluss</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>Datenbits</translation>
    </message>
    <message>
        <source>7 Data Bits</source>
        <translation>7 Datenbits</translation>
    </message>
    <message>
        <source>8 Data Bits</source>
        <translation>8 Datenbits</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>Stoppbits</translation>
    </message>
    <message>
        <source>1 Stop Bit</source>
        <translation>1 Stoppbit</translation>
    </message>
    <message>
        <source>2 Stop Bit</source>
        <translation>2 Stoppbits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Gerade</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Ungerade</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>No serial device</source>
        <translation>Kein serielles Gerät</translation>
    </message>
    <message>
        <source>Com %1 is in use; this window offers Com 1 to Com %2 only</source>
        <translation>Com %1 ist gewählt; dieses Fenster bietet nur Com 1 bis Com %2 an</translation>
    </message>
</context>
<context>
    <name>orv::LinkWindow</name>
    <message>
        <source>&quot;%1&quot; window</source>
        <translation>Fenster „%1“</translation>
    </message>
</context>
<context>
    <name>orv::MagCommPanel</name>
    <message>
        <source>&amp;Magnetic Reader</source>
        <translation>&amp;Magnetkartenleser</translation>
    </message>
    <message>
        <source>Magnetic Reader Parameters</source>
        <translation>Parameter des Magnetkartenlesers</translation>
    </message>
</context>
<context>
    <name>orv::MagMiscPanel</name>
    <message>
        <source>Tracks &amp;Edit</source>
        <translation>Spuren &amp;bearbeiten</translation>
    </message>
    <message>
        <source>Deleting and Inserting Edit For Output Characters</source>
        <translation>Löschen und Einfügen bei den ausgegebenen Zeichen</translation>
    </message>
    <message>
        <source>Tracks Edit</source>
        <translation>Spuren bearbeiten</translation>
    </message>
    <message>
        <source>Start and End &amp;Char</source>
        <translation>Start- und &amp;Endezeichen</translation>
    </message>
    <message>
        <source>Defined User&apos;s Start and End Characters</source>
        <translation>Benutzerdefinierte Start- und Endezeichen</translation>
    </message>
    <message>
        <source>Edit Start and End Characters</source>
        <translation>Start- und Endezeichen bearbeiten</translation>
    </message>
    <message>
        <source>Select Track</source>
        <translation>Spur wählen</translation>
    </message>
</context>
<context>
    <name>orv::MainWindow</name>
    <message>
        <source>Config Setup Files(*.cfg)|*.cfg</source>
        <translation>Konfigurationsdateien(*.cfg)|*.cfg</translation>
    </message>
    <message>
        <source>configuration</source>
        <comment>what could not be saved</comment>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Configuration had been changed,do you want to save your file?</source>
        <translation>Die Konfiguration wurde geändert. Möchten Sie die Datei speichern?</translation>
    </message>
    <message>
        <source>The file %1 could not be opened: %2.</source>
        <translation>Die Datei %1 konnte nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>it is far too large for a configuration file</source>
        <translation>sie ist für eine Konfigurationsdatei viel zu groß</translation>
    </message>
    <message>
        <source>This File Is Not A Configuration Setup File</source>
        <translation>Diese Datei ist keine Konfigurationsdatei</translation>
    </message>
    <message>
        <source>The file %1 is damaged and was not opened: %2.</source>
        <translation>Die Datei %1 ist beschädigt und wurde nicht geöffnet: %2.</translation>
    </message>
    <message>
        <source>the folder %1 cannot be created</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The default configuration could not be saved to %1: %2. The defaults were not changed.</source>
        <translation>Die Standardkonfiguration konnte nicht in %1 gespeichert werden: %2. Die Standardwerte wurden nicht geändert.</translation>
    </message>
    <message>
        <source>New File</source>
        <translation>Neue Datei</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Interface and Reading Mode</source>
        <translation>Schnittstelle und Lesemodus</translation>
    </message>
    <message>
        <source>Communication Parameters</source>
        <translation>Kommunikationsparameter</translation>
    </message>
    <message>
        <source>Bar Codes and Others</source>
        <translation>Strichcodes und anderes</translation>
    </message>
    <message>
        <source>Miscellaneous Parameters</source>
        <translation>Sonstige Parameter</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>Magnet Reader</source>
        <translation>Magnetkartenleser</translation>
    </message>
    <message>
        <source>Keyboard &amp; RS232 Test</source>
        <translation>Tastatur &amp; RS232-Test</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save As &amp;Default</source>
        <translation>Als St&amp;andard speichern</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Set All Default</source>
        <translation>&amp;Alle auf Standard setzen</translation>
    </message>
    <message>
        <source>&amp;Bar_Decoder</source>
        <translation>&amp;Strichcode-Decoder</translation>
    </message>
    <message>
        <source>&amp;Magnic_Reader</source>
        <translation>&amp;Magnetkartenleser</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;KR Test</source>
        <translation>&amp;KR-Test</translation>
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
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>There is an error for keyboard, you can download and upload CFG data only thru RS232!</source>
        <translation>Die Tastaturverbindung ist nicht verfügbar; CFG-Daten können nur über RS232 heruntergeladen und hochgeladen werden!</translation>
    </message>
    <message>
        <source>Are you sure to set all to default values for Bar Decoder?</source>
        <translation>Wirklich alle Einstellungen des Strichcode-Decoders auf die Standardwerte setzen?</translation>
    </message>
    <message>
        <source>Are you sure to set all to default values for Magnet Reader?</source>
        <translation>Wirklich alle Einstellungen des Magnetkartenlesers auf die Standardwerte setzen?</translation>
    </message>
    <message>
        <source>The help could not be opened. The manual is the file %1.</source>
        <translation>Die Hilfe konnte nicht geöffnet werden. Das Handbuch ist die Datei %1.</translation>
    </message>
    <message>
        <source>Do you want to save your file?</source>
        <translation>Möchten Sie die Datei speichern?</translation>
    </message>
</context>
<context>
    <name>orv::ProgramTitle</name>
    <message>
        <source>Configuration Setup</source>
        <translation>Konfiguration einrichten</translation>
    </message>
</context>
<context>
    <name>orv::QtDialogs</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
</context>
<context>
    <name>orv::SaveDocument</name>
    <message>
        <source>The file %1 was changed by another program since it was opened or last saved. Overwrite it?</source>
        <translation>Die Datei %1 wurde seit dem Öffnen oder letzten Speichern von einem anderen Programm geändert. Überschreiben?</translation>
    </message>
    <message>
        <source>The %1 could not be saved to %2: %3.</source>
        <translation>Die Datei %2 (%1) konnte nicht gespeichert werden: %3.</translation>
    </message>
    <message>
        <source> The file was not changed.</source>
        <translation> Die Datei wurde nicht verändert.</translation>
    </message>
</context>
<context>
    <name>orv::SerialPort</name>
    <message>
        <source>No such file or device: %1. The device is missing; is the adapter plugged in?</source>
        <translation>Datei oder Gerät nicht gefunden: %1. Das Gerät fehlt; ist der Adapter eingesteckt?</translation>
    </message>
    <message>
        <source>%1 is busy: this program is already using it.</source>
        <translation>%1 ist belegt: dieses Programm verwendet es bereits.</translation>
    </message>
    <message>
        <source>%1 is busy: this program&apos;s %2 is using it.</source>
        <translation>%1 ist belegt: das %2 dieses Programms verwendet es.</translation>
    </message>
    <message>
        <source>%1 is busy: another program is using it.</source>
        <translation>%1 ist belegt: ein anderes Programm verwendet es.</translation>
    </message>
    <message>
        <source>Permission denied: %1. Serial devices belong to the group %2: add your user to it (sudo usermod -aG %2 $USER), then log out and in again.</source>
        <translation>Zugriff verweigert: %1. Serielle Geräte gehören der Gruppe %2: nehmen Sie Ihren Benutzer darin auf (sudo usermod -aG %2 $USER) und melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Permission denied: %1.</source>
        <translation>Zugriff verweigert: %1.</translation>
    </message>
    <message>
        <source>Permission denied: %1 (owner %2, group %3).</source>
        <translation>Zugriff verweigert: %1 (Eigentümer %2, Gruppe %3).</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>the device was removed or stopped answering</source>
        <translation>das Gerät wurde entfernt oder antwortet nicht mehr</translation>
    </message>
    <message>
        <source>Unusable serial settings &quot;%1&quot;</source>
        <translation>Unbrauchbare serielle Einstellungen „%1“</translation>
    </message>
    <message>
        <source>No serial device for Com %1</source>
        <translation>Kein serielles Gerät für Com %1</translation>
    </message>
    <message>
        <source>The port is not open</source>
        <translation>Der Anschluss ist nicht geöffnet</translation>
    </message>
    <message>
        <source>%1 bytes written had not left the port %2 ms after their time on the line; the line or the adapter is held up.</source>
        <translation>%1 geschriebene Bytes hatten den Anschluss %2 ms nach ihrer Zeit auf der Leitung noch nicht verlassen; die Leitung oder der Adapter ist blockiert.</translation>
    </message>
</context>
<context>
    <name>orv::SettingsPanel</name>
    <message>
        <source>Clear All Barcodes</source>
        <translation>Alle Strichcodes abwählen</translation>
    </message>
    <message>
        <source>Characters to be Inserted (Only Four Characters Available)</source>
        <translation>Einzufügende Zeichen (höchstens vier Zeichen)</translation>
    </message>
    <message>
        <source>Characters to be Inserted (Only Four Charaters Available)</source>
        <translation>Einzufügende Zeichen (höchstens vier Zeichen)</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>Characters to be Inserted (Only Eight Characters Available)</source>
        <translation>Einzufügende Zeichen (höchstens acht Zeichen)</translation>
    </message>
    <message>
        <source>Characters to be Inserted (Only Eight Charaters Available)</source>
        <translation>Einzufügende Zeichen (höchstens acht Zeichen)</translation>
    </message>
    <message>
        <source>Set All Default</source>
        <translation>Alle auf Standard setzen</translation>
    </message>
    <message>
        <source>Control Keys</source>
        <translation>Steuerzeichen</translation>
    </message>
    <message>
        <source>Clear All Insetion</source>
        <translation>Einfügung löschen</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>Language Selection</source>
        <translation>Sprachauswahl</translation>
    </message>
    <message>
        <source>Set Default</source>
        <translation>Standard setzen</translation>
    </message>
</context>
<context>
    <name>orv::SingleCharBox</name>
    <message>
        <source>Allow only one character.</source>
        <translation>Nur ein Zeichen ist erlaubt.</translation>
    </message>
    <message>
        <source>Decoder %1</source>
        <translation>Decoder – %1</translation>
    </message>
</context>
<context>
    <name>orv::WholeFile</name>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>sie ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es handelt sich um einen Ordner</translation>
    </message>
    <message>
        <source>it is a named pipe, not a regular file</source>
        <translation>es handelt sich um eine benannte Pipe, nicht um eine reguläre Datei</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>es handelt sich um ein Gerät, nicht um eine reguläre Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>es handelt sich um einen Socket, nicht um eine reguläre Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es handelt sich nicht um eine reguläre Datei</translation>
    </message>
    <message>
        <source>its access control list could not be kept: %1</source>
        <translation>ihre Zugriffssteuerungsliste konnte nicht beibehalten werden: %1</translation>
    </message>
    <message>
        <source>its extended attribute %1 could not be kept: %2</source>
        <translation>ihr erweitertes Attribut %1 konnte nicht beibehalten werden: %2</translation>
    </message>
    <message>
        <source>its extended attributes could not be read: %1</source>
        <translation>ihre erweiterten Attribute konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>its owner could not be kept: %1</source>
        <translation>ihr Eigentümer konnte nicht beibehalten werden: %1</translation>
    </message>
    <message>
        <source>it belongs to user %1, and only the administrator can give a new file to another user</source>
        <translation>sie gehört dem Benutzer %1, und nur der Administrator kann eine neue Datei einem anderen Benutzer geben</translation>
    </message>
    <message>
        <source>its group %1 cannot be kept, as you are not a member of it</source>
        <translation>ihre Gruppe %1 kann nicht beibehalten werden, da Sie nicht Mitglied dieser Gruppe sind</translation>
    </message>
    <message>
        <source>its permissions could not be kept: %1</source>
        <translation>ihre Zugriffsrechte konnten nicht beibehalten werden: %1</translation>
    </message>
    <message>
        <source>another program changed it after it was read</source>
        <translation>ein anderes Programm hat sie nach dem Lesen geändert</translation>
    </message>
    <message>
        <source>no file name was given</source>
        <translation>es wurde kein Dateiname angegeben</translation>
    </message>
    <message>
        <source>the folder %1 no longer exists</source>
        <translation>der Ordner %1 existiert nicht mehr</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
</context>
<context>
    <name>orv::WindowRegistry</name>
    <message>
        <source>Interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>&amp;Interface</source>
        <translation>&amp;Schnittstelle</translation>
    </message>
    <message>
        <source>Communication Parameters</source>
        <translation>Kommunikationsparameter</translation>
    </message>
    <message>
        <source>&amp;Communication</source>
        <translation>&amp;Kommunikation</translation>
    </message>
    <message>
        <source>Bar Codes and Others</source>
        <translation>Strichcodes und anderes</translation>
    </message>
    <message>
        <source>&amp;Bar Codes and Others</source>
        <translation>S&amp;trichcodes und anderes</translation>
    </message>
    <message>
        <source>Miscellaneous Parameters</source>
        <translation>Sonstige Parameter</translation>
    </message>
    <message>
        <source>&amp;Miscellaneous</source>
        <translation>S&amp;onstiges</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>&amp;ISP</source>
        <translation>&amp;ISP</translation>
    </message>
    <message>
        <source>Read Decoder Memory</source>
        <translation>Decoder-Speicher lesen</translation>
    </message>
    <message>
        <source>&amp;Read Decoder Memory</source>
        <translation>Decoder-Speicher &amp;lesen</translation>
    </message>
</context>
</TS>
