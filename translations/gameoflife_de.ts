<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CensusDialog</name>
    <message>
        <source>block</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>beehive</source>
        <translation>Bienenstock</translation>
    </message>
    <message>
        <source>loaf</source>
        <translation>Laib</translation>
    </message>
    <message>
        <source>boat</source>
        <translation>Boot</translation>
    </message>
    <message>
        <source>ship</source>
        <translation>Schiff</translation>
    </message>
    <message>
        <source>tub</source>
        <translation>Wanne</translation>
    </message>
    <message>
        <source>pond</source>
        <translation>Teich</translation>
    </message>
    <message>
        <source>barge</source>
        <translation>Kahn</translation>
    </message>
    <message>
        <source>long boat</source>
        <translation>langes Boot</translation>
    </message>
    <message>
        <source>mango</source>
        <translation>Mango</translation>
    </message>
    <message>
        <source>eater 1</source>
        <translation>Fresser 1</translation>
    </message>
    <message>
        <source>blinker</source>
        <translation>Blinker</translation>
    </message>
    <message>
        <source>toad</source>
        <translation>Kröte</translation>
    </message>
    <message>
        <source>beacon</source>
        <translation>Leuchtfeuer</translation>
    </message>
    <message>
        <source>pulsar</source>
        <translation>Pulsar</translation>
    </message>
    <message>
        <source>pentadecathlon</source>
        <translation>Pentadecathlon</translation>
    </message>
    <message>
        <source>glider</source>
        <translation>Gleiter</translation>
    </message>
    <message>
        <source>lightweight spaceship</source>
        <translation>leichtes Raumschiff</translation>
    </message>
    <message>
        <source>middleweight spaceship</source>
        <translation>mittelschweres Raumschiff</translation>
    </message>
    <message>
        <source>heavyweight spaceship</source>
        <translation>schweres Raumschiff</translation>
    </message>
    <message>
        <source>still life of %1 cells</source>
        <translation>Stillleben aus %1 Zellen</translation>
    </message>
    <message>
        <source>period %1 oscillator of %2 cells</source>
        <translation>Oszillator der Periode %1 aus %2 Zellen</translation>
    </message>
    <message>
        <source>period %1 spaceship of %2 cells</source>
        <translation>Raumschiff der Periode %1 aus %2 Zellen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Census</source>
        <translation>Zählung</translation>
    </message>
    <message>
        <source>Objects left behind</source>
        <translation>Zurückgelassene Objekte</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Copy the census</source>
        <translation>Zählung kopieren</translation>
    </message>
    <message>
        <source>The census is taken in the unbounded plane: choose it under Simulation &gt; Universe.</source>
        <translation>Die Zählung erfolgt in der unbegrenzten Ebene: wählen Sie sie unter Simulation &gt; Universum.</translation>
    </message>
    <message>
        <source>The census counts LifeHistory&apos;s live cells as Life&apos;s; it refuses boundary cells (state 6).</source>
        <translation>Die Zählung nimmt die lebenden Zellen von LifeHistory als die von Life; Randzellen (Zustand 6) lehnt sie ab.</translation>
    </message>
    <message>
        <source>No census is taken of more than %1 live cells.</source>
        <translation>Über %1 lebende Zellen wird nicht gezählt.</translation>
    </message>
    <message>
        <source>Not stable yet: it evolves still. The census follows the run.</source>
        <translation>Noch nicht stabil: das Muster entwickelt sich noch. Die Zählung folgt dem Lauf.</translation>
    </message>
    <message>
        <source>Not stable after %1 generations.</source>
        <translation>Nach %1 Generationen nicht stabil.</translation>
    </message>
    <message>
        <source>Dies out, lifespan %1.</source>
        <translation>Stirbt aus, Lebensdauer %1.</translation>
    </message>
    <message>
        <source>Lifespan %1, %2 cells, period %3.</source>
        <translation>Lebensdauer %1, %2 Zellen, Periode %3.</translation>
    </message>
    <message>
        <source>Lifespan %1, every cell alive but %2, period %3.</source>
        <translation>Lebensdauer %1, jede Zelle lebt außer %2, Periode %3.</translation>
    </message>
    <message>
        <source>%1 (escaping)</source>
        <translation>%1 (entweichend)</translation>
    </message>
    <message>
        <source>%1 every %2 generations</source>
        <translation>%1 alle %2 Generationen</translation>
    </message>
    <message>
        <source>A gun of period %1.</source>
        <translation>Eine Kanone der Periode %1.</translation>
    </message>
    <message>
        <source>A puffer of period %1: it moves by (%2, %3) every %1 generations and leaves debris.</source>
        <translation>Ein Puffer der Periode %1: er rückt alle %1 Generationen um (%2, %3) vor und hinterlässt Trümmer.</translation>
    </message>
    <message>
        <source>Grows linearly: %1 cells after %2 generations.</source>
        <translation>Wächst linear: %1 Zellen nach %2 Generationen.</translation>
    </message>
    <message>
        <source>Grows quadratically: %1 cells after %2 generations.</source>
        <translation>Wächst quadratisch: %1 Zellen nach %2 Generationen.</translation>
    </message>
    <message>
        <source>Grows faster than quadratically: %1 cells after %2 generations.</source>
        <translation>Wächst schneller als quadratisch: %1 Zellen nach %2 Generationen.</translation>
    </message>
</context>
<context>
    <name>ExportOptions</name>
    <message>
        <source>Export animation</source>
        <translation>Animation exportieren</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Bild exportieren</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Maßstab:</translation>
    </message>
    <message>
        <source>&amp;Generations after this one:</source>
        <translation>&amp;Generationen nach dieser:</translation>
    </message>
    <message>
        <source>What the &amp;view shows</source>
        <translation>Was die &amp;Ansicht zeigt</translation>
    </message>
    <message>
        <source>The &amp;live cells&apos; box</source>
        <translation>Der Rahmen der &amp;lebenden Zellen</translation>
    </message>
    <message>
        <source>Cells:</source>
        <translation>Zellen:</translation>
    </message>
</context>
<context>
    <name>FieldExport</name>
    <message>
        <source>The scale must be %1 to %2, not %3.</source>
        <translation>Der Maßstab muss zwischen %1 und %2 liegen, nicht %3.</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 x %1 pixels.</source>
        <translation>Für ein Bild von %1 x %1 Pixeln reicht der Speicher nicht.</translation>
    </message>
    <message>
        <source>The number of generations must be %1 to %2, not %3.</source>
        <translation>Die Zahl der Generationen muss zwischen %1 und %2 liegen, nicht %3.</translation>
    </message>
    <message>
        <source>A frame cannot be shown for %1 hundredths of a second.</source>
        <translation>Ein Einzelbild kann nicht %1 Hundertstelsekunden lang gezeigt werden.</translation>
    </message>
    <message>
        <source>A picture of %1 x %2 cells at this zoom would be more than %3 pixels a side; choose a smaller scale or fewer cells.</source>
        <translation>Ein Bild von %1 x %2 Zellen bei dieser Vergrößerung wäre auf einer Seite größer als %3 Pixel; wählen Sie einen kleineren Maßstab oder weniger Zellen.</translation>
    </message>
</context>
<context>
    <name>FormFieldEditor</name>
    <message>
        <source>Field editor</source>
        <translation>Feldeditor</translation>
    </message>
    <message>
        <source>[None]</source>
        <translation>[Keine]</translation>
    </message>
    <message>
        <source>[On]</source>
        <translation>[Ein]</translation>
    </message>
    <message>
        <source>[Off]</source>
        <translation>[Aus]</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>GifWriter</name>
    <message>
        <source>The file is open already.</source>
        <translation>Die Datei ist schon geöffnet.</translation>
    </message>
    <message>
        <source>A GIF cannot hold a picture of %1 x %2 pixels in %3 colours.</source>
        <translation>Ein GIF kann kein Bild von %1 x %2 Pixeln in %3 Farben aufnehmen.</translation>
    </message>
    <message>
        <source>The file is not open.</source>
        <translation>Die Datei ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 pixels at (%3, %4) shown for %5 hundredths does not fit the GIF.</source>
        <translation>Ein Einzelbild von %1 x %2 Pixeln bei (%3, %4), %5 Hundertstel lang gezeigt, passt nicht in das GIF.</translation>
    </message>
    <message>
        <source>Unknown GIF error.</source>
        <translation>Unbekannter GIF-Fehler.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Computing generations…</source>
        <translation>Generationen werden berechnet…</translation>
    </message>
    <message>
        <source>Conway&apos;s Life</source>
        <translation>Conways Life</translation>
    </message>
    <message>
        <source>HighLife</source>
        <translation>HighLife</translation>
    </message>
    <message>
        <source>Day &amp; Night</source>
        <translation>Day &amp; Night</translation>
    </message>
    <message>
        <source>Seeds</source>
        <translation>Seeds</translation>
    </message>
    <message>
        <source>Life without Death</source>
        <translation>Leben ohne Tod</translation>
    </message>
    <message>
        <source>Maze</source>
        <translation>Labyrinth</translation>
    </message>
    <message>
        <source>Replicator</source>
        <translation>Replikator</translation>
    </message>
    <message>
        <source>2×2</source>
        <translation>2×2</translation>
    </message>
    <message>
        <source>Diamoeba</source>
        <translation>Diamoeba</translation>
    </message>
    <message>
        <source>Morley</source>
        <translation>Morley</translation>
    </message>
    <message>
        <source>Brian&apos;s Brain</source>
        <translation>Brians Gehirn</translation>
    </message>
    <message>
        <source>Star Wars</source>
        <translation>Star Wars</translation>
    </message>
    <message>
        <source>LifeHistory</source>
        <translation>LifeHistory</translation>
    </message>
    <message>
        <source>Hexagonal Life</source>
        <translation>Hexagonales Life</translation>
    </message>
    <message>
        <source>Von Neumann rule</source>
        <translation>Von-Neumann-Regel</translation>
    </message>
    <message>
        <source>Cells: %1</source>
        <translation>Zellen: %1</translation>
    </message>
    <message>
        <source>Field size: %1 * %2</source>
        <translation>Feldgröße: %1 * %2</translation>
    </message>
    <message>
        <source>Generation: %1</source>
        <translation>Generation: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>State: evolving</source>
        <translation>Zustand: in Entwicklung</translation>
    </message>
    <message>
        <source>State: died out at generation %1</source>
        <translation>Zustand: ausgestorben in Generation %1</translation>
    </message>
    <message>
        <source>State: still since generation %1</source>
        <translation>Zustand: still seit Generation %1</translation>
    </message>
    <message>
        <source>State: period %1 since generation %2</source>
        <translation>Zustand: Periode %1 seit Generation %2</translation>
    </message>
    <message>
        <source>State: not settled after %1 generations</source>
        <translation>Zustand: keine Ruhe nach %1 Generationen</translation>
    </message>
    <message>
        <source>Rule: a name or B/S notation, such as B36/S23 or B2/S/C3; Enter applies it</source>
        <translation>Regel: ein Name oder die B/S-Schreibweise, etwa B36/S23 oder B2/S/C3; die Eingabetaste wendet sie an</translation>
    </message>
    <message>
        <source>Open pattern</source>
        <translation>Muster öffnen</translation>
    </message>
    <message>
        <source>Could not open the pattern file &quot;%1&quot;:
%2</source>
        <translation>Die Musterdatei „%1“ konnte nicht geöffnet werden:
%2</translation>
    </message>
    <message>
        <source>Save pattern</source>
        <translation>Muster speichern</translation>
    </message>
    <message>
        <source>Could not save the pattern file &quot;%1&quot;:
%2</source>
        <translation>Die Musterdatei „%1“ konnte nicht gespeichert werden:
%2</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Bild exportieren</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>Could not export the image &quot;%1&quot;:
%2</source>
        <translation>Das Bild „%1“ konnte nicht exportiert werden:
%2</translation>
    </message>
    <message>
        <source>Export animation</source>
        <translation>Animation exportieren</translation>
    </message>
    <message>
        <source>GIF animations (*.gif)</source>
        <translation>GIF-Animationen (*.gif)</translation>
    </message>
    <message>
        <source>Writing the animation…</source>
        <translation>Die Animation wird geschrieben…</translation>
    </message>
    <message>
        <source>Could not export the animation &quot;%1&quot;:
%2</source>
        <translation>Die Animation „%1“ konnte nicht exportiert werden:
%2</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&lt;div&gt;&lt;b&gt;Conway&apos;s Game of Life&lt;/b&gt;&lt;hr/&gt;Author: Tarvinek&lt;/div&gt;</source>
        <translation>&lt;div&gt;&lt;b&gt;Conways Spiel des Lebens&lt;/b&gt;&lt;hr/&gt;Autor: Tarvinek&lt;/div&gt;</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Lauf</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächster Schritt</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Zufall</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Regel</translation>
    </message>
    <message>
        <source>Run until settled</source>
        <translation>Laufen bis zur Ruhe</translation>
    </message>
    <message>
        <source>Go to generation</source>
        <translation>Gehe zu Generation</translation>
    </message>
    <message>
        <source>Generation (%1 to %2):</source>
        <translation>Generation (%1 bis %2):</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Zeichnen</translation>
    </message>
    <message>
        <source>Conway&apos;s Game of Life</source>
        <translation>Conways Spiel des Lebens</translation>
    </message>
    <message>
        <source>&amp;Open pattern…</source>
        <translation>&amp;Muster öffnen…</translation>
    </message>
    <message>
        <source>&amp;Save pattern as…</source>
        <translation>Muster speichern &amp;unter…</translation>
    </message>
    <message>
        <source>Export &amp;image…</source>
        <translation>Bild e&amp;xportieren…</translation>
    </message>
    <message>
        <source>Export &amp;animation…</source>
        <translation>&amp;Animation exportieren…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächster Schritt</translation>
    </message>
    <message>
        <source>&amp;Run until settled</source>
        <translation>Bis zur Ruhe &amp;laufen</translation>
    </message>
    <message>
        <source>&amp;Go to generation…</source>
        <translation>&amp;Gehe zu Generation…</translation>
    </message>
    <message>
        <source>Populat&amp;ion graph</source>
        <translation>Populations&amp;diagramm</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Clear field</source>
        <translation>Feld leeren</translation>
    </message>
    <message>
        <source>Random field</source>
        <translation>Zufälliges Feld</translation>
    </message>
    <message>
        <source>Edit field</source>
        <translation>Feld bearbeiten</translation>
    </message>
    <message>
        <source>Save state</source>
        <translation>Zustand speichern</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Speed (iter./sec.):</source>
        <translation>Tempo (Gen./s):</translation>
    </message>
    <message>
        <source>Cell color:</source>
        <translation>Zellfarbe:</translation>
    </message>
    <message>
        <source>Speed (iter./sec.)</source>
        <translation>Tempo (Generationen pro Sekunde)</translation>
    </message>
    <message>
        <source>Cell color</source>
        <translation>Zellfarbe</translation>
    </message>
    <message>
        <source> Red</source>
        <translation> Rot</translation>
    </message>
    <message>
        <source> Green</source>
        <translation> Grün</translation>
    </message>
    <message>
        <source> Blue</source>
        <translation> Blau</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Regel:</translation>
    </message>
    <message>
        <source>Pause when settled</source>
        <translation>Bei Ruhe anhalten</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Field size: *</source>
        <translation>Feldgröße: *</translation>
    </message>
    <message>
        <source>Generation: *</source>
        <translation>Generation: *</translation>
    </message>
    <message>
        <source>Cells: *</source>
        <translation>Zellen: *</translation>
    </message>
    <message>
        <source>State: *</source>
        <translation>Zustand: *</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Examples</source>
        <translation>Bei&amp;spiele</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Simulation</source>
        <translation>&amp;Simulation</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Es ist ein Ordner.</translation>
    </message>
    <message>
        <source>It is not an ordinary file.</source>
        <translation>Es ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The file is larger than 1 MiB (%1 bytes); pattern files are far smaller.</source>
        <translation>Die Datei ist größer als 1 MiB (%1 Bytes); Musterdateien sind viel kleiner.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Population</source>
        <translation>Population</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Generation</translation>
    </message>
    <message>
        <source>Live cells</source>
        <translation>Lebende Zellen</translation>
    </message>
    <message>
        <source>%1 by %2 cells, %3 alive; cursor on row %4, column %5</source>
        <translation>%1 mal %2 Zellen, %3 lebendig; Cursor in Zeile %4, Spalte %5</translation>
    </message>
    <message>
        <source>RLE (*.rle)</source>
        <translation>RLE (*.rle)</translation>
    </message>
    <message>
        <source>Plaintext (*.cells)</source>
        <translation>Klartext (*.cells)</translation>
    </message>
    <message>
        <source>Life 1.06 (*.lif *.life)</source>
        <translation>Life 1.06 (*.lif *.life)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists already. Replace it?</source>
        <translation>„%1“ gibt es schon. Ersetzen?</translation>
    </message>
    <message>
        <source>Paste pattern</source>
        <translation>Muster einfügen</translation>
    </message>
    <message>
        <source>The clipboard holds no pattern that can be pasted:
%1</source>
        <translation>Die Zwischenablage enthält kein Muster, das eingefügt werden kann:
%1</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>State: empty</source>
        <translation>Zustand: leer</translation>
    </message>
    <message>
        <source>Generation limit</source>
        <translation>Generationen-Obergrenze</translation>
    </message>
    <message>
        <source>Generations Run until settled looks at (1 to %1):</source>
        <translation>Generationen, die „Bis zur Ruhe laufen“ betrachtet (1 bis %1):</translation>
    </message>
    <message>
        <source>Generation &amp;limit…</source>
        <translation>Generationen-&amp;Obergrenze…</translation>
    </message>
    <message>
        <source>Plane of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Ebene von %1 mal %2 Zellen, %3 lebendig; Cursor auf %4, %5</translation>
    </message>
    <message>
        <source>Torus of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Torus von %1 mal %2 Zellen, %3 lebendig; Cursor auf %4, %5</translation>
    </message>
    <message>
        <source>Unbounded plane, %1 alive; cursor on %2, %3</source>
        <translation>Unbegrenzte Ebene, %1 lebendig; Cursor auf %2, %3</translation>
    </message>
    <message>
        <source>There is not enough memory for this universe.</source>
        <translation>Für dieses Universum reicht der Speicher nicht.</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Universum</translation>
    </message>
    <message>
        <source>The generation cannot go past 2^63 - 1.</source>
        <translation>Die Generation kann 2^63 - 1 nicht überschreiten.</translation>
    </message>
    <message>
        <source>State: evolving; no cycles looked for above %1 cells</source>
        <translation>Zustand: in Entwicklung; über %1 Zellen wird kein Zyklus gesucht</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every generation since generation %3</source>
        <translation>Zustand: bewegt sich um (%1, %2) jede Generation seit Generation %3</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every %3 generations since generation %4</source>
        <translation>Zustand: bewegt sich um (%1, %2) alle %3 Generationen seit Generation %4</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, plane</source>
        <translation>Feldgröße: %1 * %2, Ebene</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, torus</source>
        <translation>Feldgröße: %1 * %2, Torus</translation>
    </message>
    <message>
        <source>Field size: unbounded</source>
        <translation>Feldgröße: unbegrenzt</translation>
    </message>
    <message>
        <source>Edit: the field editor edits the classic field only</source>
        <translation>Bearbeiten: Der Feldeditor bearbeitet nur das klassische Feld</translation>
    </message>
    <message>
        <source>The run stopped:
%1</source>
        <translation>Der Lauf wurde angehalten:
%1</translation>
    </message>
    <message>
        <source>&amp;Universe…</source>
        <translation>&amp;Universum…</translation>
    </message>
    <message>
        <source>&amp;Faster</source>
        <translation>S&amp;chneller</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Fit pattern</source>
        <translation>Muster ein&amp;passen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Patterns (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;All files (*)</source>
        <translation>Muster (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Macrocell (*.mc)</source>
        <translation>Macrocell (*.mc)</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB (%2 bytes).</source>
        <translation>Die Datei ist größer als %1 MiB (%2 Bytes).</translation>
    </message>
    <message>
        <source>Slo&amp;wer</source>
        <translation>Langs&amp;amer</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one glider escaping</source>
        <translation>Zustand: stabil seit Generation %1, ein Gleiter entweicht</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 gliders escaping</source>
        <translation>Zustand: stabil seit Generation %1, %2 Gleiter entweichen</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one spaceship escaping</source>
        <translation>Zustand: stabil seit Generation %1, ein Raumschiff entweicht</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 spaceships escaping</source>
        <translation>Zustand: stabil seit Generation %1, %2 Raumschiffe entweichen</translation>
    </message>
    <message>
        <source>&amp;Census…</source>
        <translation>&amp;Zählung…</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Auswahl leeren</translation>
    </message>
    <message>
        <source>Clear outside</source>
        <translation>Außerhalb leeren</translation>
    </message>
    <message>
        <source>Fill at random</source>
        <translation>Zufällig füllen</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Spiegeln</translation>
    </message>
    <message>
        <source>The text is larger than %1 MiB (%2 bytes).</source>
        <translation>Der Text ist größer als %1 MiB (%2 Bytes).</translation>
    </message>
    <message>
        <source>The pattern has no live cell.</source>
        <translation>Das Muster hat keine lebende Zelle.</translation>
    </message>
    <message>
        <source>The live cells span %1 x %2 cells: the universe of %3 x %4 cells cannot hold them, however turned.</source>
        <translation>Die lebenden Zellen reichen über %1 x %2 Zellen: Das Universum von %3 x %4 Zellen fasst sie in keiner Drehung.</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>The pattern cannot be pasted there:
%1</source>
        <translation>Das Muster kann dort nicht eingefügt werden:
%1</translation>
    </message>
    <message>
        <source>Live cells, in % of the selection:</source>
        <translation>Lebende Zellen, in % der Auswahl:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Ein&amp;fügen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Clear &amp;outside</source>
        <translation>Au&amp;ßerhalb leeren</translation>
    </message>
    <message>
        <source>&amp;Fill at random…</source>
        <translation>&amp;Zufällig füllen…</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>Auswahl auf&amp;heben</translation>
    </message>
    <message>
        <source>Rotate cloc&amp;kwise</source>
        <translation>Im &amp;Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>Rotate anticlockw&amp;ise</source>
        <translation>&amp;Gegen den Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>Flip left to &amp;right</source>
        <translation>&amp;Links-rechts spiegeln</translation>
    </message>
    <message>
        <source>Flip top to &amp;bottom</source>
        <translation>&amp;Oben-unten spiegeln</translation>
    </message>
    <message>
        <source>Paste &amp;mode</source>
        <translation>Einfüge&amp;modus</translation>
    </message>
    <message>
        <source>&amp;Or: live cells are added</source>
        <translation>&amp;Oder: lebende Zellen kommen hinzu</translation>
    </message>
    <message>
        <source>&amp;Copy: the rectangle replaces what was there</source>
        <translation>&amp;Kopie: das Rechteck ersetzt, was dort war</translation>
    </message>
    <message>
        <source>&amp;Xor: live cells change what was there</source>
        <translation>&amp;Xor: lebende Zellen kehren um, was dort war</translation>
    </message>
    <message>
        <source>Click or drag to draw cells; drag from a live cell to erase; Shift+drag to select</source>
        <translation>Klicken oder ziehen, um Zellen zu zeichnen; von einer lebenden Zelle aus ziehen, um zu löschen; mit Umschalt ziehen, um auszuwählen</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 Zellen</translation>
    </message>
    <message>
        <source>; selected: %1 by %2 cells from %3, %4</source>
        <translation>; ausgewählt: %1 mal %2 Zellen ab %3, %4</translation>
    </message>
    <message>
        <source>&amp;Grid</source>
        <translation>&amp;Raster</translation>
    </message>
    <message>
        <source>%1 × 10%2</source>
        <extracomment>%2 is the power of ten, in superscript digits</extracomment>
        <translation>%1 × 10%2</translation>
    </message>
    <message>
        <source>%1

Switch to the unbounded plane and paste it there?</source>
        <translation>%1

Zur unbegrenzten Ebene wechseln und es dort einfügen?</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, shifted torus (%3)</source>
        <translation>Feldgröße: %1 * %2, verschobener Torus (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, Klein bottle (%3)</source>
        <translation>Feldgröße: %1 * %2, Kleinsche Flasche (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, cross-surface</source>
        <translation>Feldgröße: %1 * %2, Kreuzhaube</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, sphere</source>
        <translation>Feldgröße: %1 * %2, Kugel</translation>
    </message>
    <message>
        <source>Klein bottle of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Kleinsche Flasche von %1 mal %2 Zellen, %3 lebendig; Cursor auf %4, %5</translation>
    </message>
    <message>
        <source>Cross-surface of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Kreuzhaube von %1 mal %2 Zellen, %3 lebendig; Cursor auf %4, %5</translation>
    </message>
    <message>
        <source>Sphere of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Kugel von %1 mal %2 Zellen, %3 lebendig; Cursor auf %4, %5</translation>
    </message>
    <message>
        <source>Pattern &amp;information…</source>
        <translation>Muster&amp;information…</translation>
    </message>
    <message>
        <source>Follow &amp;pattern</source>
        <translation>Muster &amp;folgen</translation>
    </message>
    <message>
        <source>Pa&amp;tterns</source>
        <translation>Muster&amp;sammlung</translation>
    </message>
    <message>
        <source>This pattern comes with notes: File &gt; Pattern information (Ctrl+I)</source>
        <translation>Dieses Muster hat Notizen: Datei &gt; Musterinformation (Strg+I)</translation>
    </message>
    <message>
        <source>State: a gun of period %1</source>
        <translation>Zustand: eine Kanone der Periode %1</translation>
    </message>
    <message>
        <source>State: a puffer of period %1</source>
        <translation>Zustand: ein Puffer der Periode %1</translation>
    </message>
    <message>
        <source>State: grows linearly</source>
        <translation>Zustand: wächst linear</translation>
    </message>
    <message>
        <source>State: grows quadratically</source>
        <translation>Zustand: wächst quadratisch</translation>
    </message>
    <message>
        <source>State: grows faster than quadratically</source>
        <translation>Zustand: wächst schneller als quadratisch</translation>
    </message>
    <message>
        <source>Cells: infinitely many</source>
        <translation>Zellen: unendlich viele</translation>
    </message>
    <message>
        <source>infinitely many</source>
        <translation>unendlich viele</translation>
    </message>
    <message>
        <source>Every cell of the unbounded plane is alive but %1, and a pattern file holds only finitely many live cells.</source>
        <translation>Jede Zelle der unbegrenzten Ebene lebt außer %1, und eine Musterdatei enthält nur endlich viele lebende Zellen.</translation>
    </message>
    <message>
        <source>Field size: endless strip of %1</source>
        <translation>Feldgröße: endloser Streifen von %1</translation>
    </message>
    <message>
        <source>Field size: endless tube of %1</source>
        <translation>Feldgröße: endlose Röhre von %1</translation>
    </message>
    <message>
        <source>Endless strip of %1 cells across, %2 alive; cursor on %3, %4</source>
        <translation>Endloser Streifen von %1 Zellen Breite, %2 lebend; Cursor auf %3, %4</translation>
    </message>
</context>
<context>
    <name>PatternInfoDialog</name>
    <message>
        <source>Pattern information</source>
        <translation>Musterinformation</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Kommentare:</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Regel:</translation>
    </message>
    <message>
        <source>Universe:</source>
        <translation>Universum:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Population:</source>
        <translation>Population:</translation>
    </message>
    <message>
        <source>Generation:</source>
        <translation>Generation:</translation>
    </message>
    <message>
        <source>The classic field, %1 × %2 cells</source>
        <translation>Das klassische Feld, %1 × %2 Zellen</translation>
    </message>
    <message>
        <source>A plane of %1 × %2 cells</source>
        <translation>Eine Ebene aus %1 × %2 Zellen</translation>
    </message>
    <message>
        <source>A torus of %1 × %2 cells</source>
        <translation>Ein Torus aus %1 × %2 Zellen</translation>
    </message>
    <message>
        <source>A shifted torus of %1 × %2 cells (%3)</source>
        <translation>Ein verschobener Torus aus %1 × %2 Zellen (%3)</translation>
    </message>
    <message>
        <source>A Klein bottle of %1 × %2 cells (%3)</source>
        <translation>Eine Kleinsche Flasche aus %1 × %2 Zellen (%3)</translation>
    </message>
    <message>
        <source>A cross-surface of %1 × %2 cells</source>
        <translation>Eine Kreuzhaube aus %1 × %2 Zellen</translation>
    </message>
    <message>
        <source>A sphere of %1 × %2 cells</source>
        <translation>Eine Kugel aus %1 × %2 Zellen</translation>
    </message>
    <message>
        <source>The unbounded plane</source>
        <translation>Die unbegrenzte Ebene</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 Zellen</translation>
    </message>
    <message>
        <source>No live cells</source>
        <translation>Keine lebenden Zellen</translation>
    </message>
    <message>
        <source>Too many to count</source>
        <translation>Zu viele zum Zählen</translation>
    </message>
    <message>
        <source>Infinitely many</source>
        <translation>Unendlich viele</translation>
    </message>
    <message>
        <source>An endless strip %1 cells across (%2)</source>
        <translation>Ein endloser Streifen von %1 Zellen Breite (%2)</translation>
    </message>
    <message>
        <source>An endless tube %1 cells around (%2)</source>
        <translation>Eine endlose Röhre von %1 Zellen Umfang (%2)</translation>
    </message>
</context>
<context>
    <name>PatternsDock</name>
    <message>
        <source>Patterns</source>
        <translation>Mustersammlung</translation>
    </message>
    <message>
        <source>Built-in examples</source>
        <translation>Mitgelieferte Beispiele</translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation>Ordner wählen…</translation>
    </message>
    <message>
        <source>Folder of patterns</source>
        <translation>Musterordner</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>&amp;Clear list</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
</context>
<context>
    <name>StateLegend</name>
    <message>
        <source>alive</source>
        <translation>lebendig</translation>
    </message>
    <message>
        <source>has been alive</source>
        <translation>war schon lebendig</translation>
    </message>
    <message>
        <source>marked, alive</source>
        <translation>markiert, lebendig</translation>
    </message>
    <message>
        <source>marked, dead</source>
        <translation>markiert, tot</translation>
    </message>
    <message>
        <source>alive at the start</source>
        <translation>lebendig von Anfang an</translation>
    </message>
    <message>
        <source>boundary</source>
        <translation>Grenze</translation>
    </message>
    <message>
        <source>dying, state %1</source>
        <translation>sterbend, Zustand %1</translation>
    </message>
</context>
<context>
    <name>StepControl</name>
    <message>
        <source>Step: %1 gen./tick</source>
        <translation>Schritt: %1 Gen./Takt</translation>
    </message>
    <message>
        <source>Generations computed at each tick: ] doubles them, [ halves them, up to %1 here</source>
        <translation>Generationen je Takt: ] verdoppelt sie, [ halbiert sie, hier bis %1</translation>
    </message>
</context>
<context>
    <name>UniverseDialog</name>
    <message>
        <source>&amp;Classic field, 120 × 120</source>
        <translation>&amp;Klassisches Feld, 120 × 120</translation>
    </message>
    <message>
        <source>Bounded &amp;plane</source>
        <translation>Begrenzte &amp;Ebene</translation>
    </message>
    <message>
        <source>&amp;Torus</source>
        <translation>&amp;Torus</translation>
    </message>
    <message>
        <source>&amp;Unbounded plane</source>
        <translation>&amp;Unbegrenzte Ebene</translation>
    </message>
    <message>
        <source>&amp;Start in this universe</source>
        <translation>In diesem Universum &amp;starten</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Universum</translation>
    </message>
    <message>
        <source> cells</source>
        <translation> Zellen</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Otherwise the program starts in the classic field</source>
        <translation>Sonst startet das Programm im klassischen Feld</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> MiB</translation>
    </message>
    <message>
        <source>Memory for the unbounded plane</source>
        <translation>Speicher für die unbegrenzte Ebene</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Breite:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>&amp;Memory for the unbounded plane:</source>
        <translation>Speicher für die unbegrenzte Ebene (&amp;M):</translation>
    </message>
    <message>
        <source>%1 live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>%1 lebende Zellen liegen außerhalb dieses Universums und gehen verloren. Universum wechseln?</translation>
    </message>
    <message>
        <source>At most %1 cells: choose a smaller width or height.</source>
        <translation>Höchstens %1 Zellen: Wählen Sie eine kleinere Breite oder Höhe.</translation>
    </message>
    <message>
        <source>%1 live cells would be lost.</source>
        <translation>%1 lebende Zellen gingen verloren.</translation>
    </message>
    <message>
        <source>&amp;Klein bottle</source>
        <translation>&amp;Kleinsche Flasche</translation>
    </message>
    <message>
        <source>Cr&amp;oss-surface</source>
        <translation>Kre&amp;uzhaube</translation>
    </message>
    <message>
        <source>Sph&amp;ere</source>
        <translation>Ku&amp;gel</translation>
    </message>
    <message>
        <source>Top and bottom</source>
        <translation>Oben und unten</translation>
    </message>
    <message>
        <source>Left and right</source>
        <translation>Links und rechts</translation>
    </message>
    <message>
        <source>Twisted or shifted e&amp;dges:</source>
        <translation>Verdrehte oder verschobene Ka&amp;nten:</translation>
    </message>
    <message>
        <source>Shi&amp;ft:</source>
        <translation>Vers&amp;chiebung:</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Verschiebung</translation>
    </message>
    <message>
        <source>0, endless</source>
        <translation>0, endlos</translation>
    </message>
    <message>
        <source>A size of 0 makes an endless strip: a plane or a torus without a shift, at most %1 cells the other way.</source>
        <translation>Eine Größe von 0 ergibt einen endlosen Streifen: eine Ebene oder ein Torus ohne Versatz, höchstens %1 Zellen in der anderen Richtung.</translation>
    </message>
    <message>
        <source>Infinitely many live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>Unendlich viele lebende Zellen liegen außerhalb dieses Universums und gehen verloren. Universum wechseln?</translation>
    </message>
    <message>
        <source>Infinitely many live cells would be lost.</source>
        <translation>Unendlich viele lebende Zellen gingen verloren.</translation>
    </message>
</context>
</TS>
