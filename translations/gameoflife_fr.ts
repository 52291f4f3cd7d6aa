<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CensusDialog</name>
    <message>
        <source>block</source>
        <translation>bloc</translation>
    </message>
    <message>
        <source>beehive</source>
        <translation>ruche</translation>
    </message>
    <message>
        <source>loaf</source>
        <translation>pain</translation>
    </message>
    <message>
        <source>boat</source>
        <translation>bateau</translation>
    </message>
    <message>
        <source>ship</source>
        <translation>navire</translation>
    </message>
    <message>
        <source>tub</source>
        <translation>baignoire</translation>
    </message>
    <message>
        <source>pond</source>
        <translation>mare</translation>
    </message>
    <message>
        <source>barge</source>
        <translation>péniche</translation>
    </message>
    <message>
        <source>long boat</source>
        <translation>bateau long</translation>
    </message>
    <message>
        <source>mango</source>
        <translation>mangue</translation>
    </message>
    <message>
        <source>eater 1</source>
        <translation>mangeur 1</translation>
    </message>
    <message>
        <source>blinker</source>
        <translation>clignotant</translation>
    </message>
    <message>
        <source>toad</source>
        <translation>crapaud</translation>
    </message>
    <message>
        <source>beacon</source>
        <translation>phare</translation>
    </message>
    <message>
        <source>pulsar</source>
        <translation>pulsar</translation>
    </message>
    <message>
        <source>pentadecathlon</source>
        <translation>pentadécathlon</translation>
    </message>
    <message>
        <source>glider</source>
        <translation>planeur</translation>
    </message>
    <message>
        <source>lightweight spaceship</source>
        <translation>vaisseau léger</translation>
    </message>
    <message>
        <source>middleweight spaceship</source>
        <translation>vaisseau moyen</translation>
    </message>
    <message>
        <source>heavyweight spaceship</source>
        <translation>vaisseau lourd</translation>
    </message>
    <message>
        <source>still life of %1 cells</source>
        <translation>vie stable de %1 cellules</translation>
    </message>
    <message>
        <source>period %1 oscillator of %2 cells</source>
        <translation>oscillateur de période %1 de %2 cellules</translation>
    </message>
    <message>
        <source>period %1 spaceship of %2 cells</source>
        <translation>vaisseau de période %1 de %2 cellules</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Census</source>
        <translation>Recensement</translation>
    </message>
    <message>
        <source>Objects left behind</source>
        <translation>Objets laissés</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objet</translation>
    </message>
    <message>
        <source>Copy the census</source>
        <translation>Copier le recensement</translation>
    </message>
    <message>
        <source>The census is taken in the unbounded plane: choose it under Simulation &gt; Universe.</source>
        <translation>Le recensement se fait dans le plan illimité : choisissez-le sous Simulation &gt; Univers.</translation>
    </message>
    <message>
        <source>The census counts LifeHistory&apos;s live cells as Life&apos;s; it refuses boundary cells (state 6).</source>
        <translation>Le recensement compte les cellules vivantes de LifeHistory comme celles de Life ; il refuse les cellules de bordure (état 6).</translation>
    </message>
    <message>
        <source>No census is taken of more than %1 live cells.</source>
        <translation>Pas de recensement au-delà de %1 cellules vivantes.</translation>
    </message>
    <message>
        <source>Not stable yet: it evolves still. The census follows the run.</source>
        <translation>Pas encore stable : le motif évolue encore. Le recensement suit la simulation.</translation>
    </message>
    <message>
        <source>Not stable after %1 generations.</source>
        <translation>Pas stable après %1 générations.</translation>
    </message>
    <message>
        <source>Dies out, lifespan %1.</source>
        <translation>S’éteint, durée de vie %1.</translation>
    </message>
    <message>
        <source>Lifespan %1, %2 cells, period %3.</source>
        <translation>Durée de vie %1, %2 cellules, période %3.</translation>
    </message>
    <message>
        <source>Lifespan %1, every cell alive but %2, period %3.</source>
        <translation>Durée de vie %1, toutes les cellules vivantes sauf %2, période %3.</translation>
    </message>
    <message>
        <source>%1 (escaping)</source>
        <translation>%1 (s’échappe)</translation>
    </message>
    <message>
        <source>%1 every %2 generations</source>
        <translation>%1 toutes les %2 générations</translation>
    </message>
    <message>
        <source>A gun of period %1.</source>
        <translation>Un canon de période %1.</translation>
    </message>
    <message>
        <source>A puffer of period %1: it moves by (%2, %3) every %1 generations and leaves debris.</source>
        <translation>Un puffer de période %1 : il se déplace de (%2, %3) toutes les %1 générations et laisse des débris.</translation>
    </message>
    <message>
        <source>Grows linearly: %1 cells after %2 generations.</source>
        <translation>Croît linéairement : %1 cellules après %2 générations.</translation>
    </message>
    <message>
        <source>Grows quadratically: %1 cells after %2 generations.</source>
        <translation>Croît quadratiquement : %1 cellules après %2 générations.</translation>
    </message>
    <message>
        <source>Grows faster than quadratically: %1 cells after %2 generations.</source>
        <translation>Croît plus vite que quadratiquement : %1 cellules après %2 générations.</translation>
    </message>
</context>
<context>
    <name>ExportOptions</name>
    <message>
        <source>Export animation</source>
        <translation>Exporter une animation</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Exporter une image</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Échelle :</translation>
    </message>
    <message>
        <source>&amp;Generations after this one:</source>
        <translation>&amp;Générations après celle-ci :</translation>
    </message>
    <message>
        <source>What the &amp;view shows</source>
        <translation>Ce que la &amp;vue montre</translation>
    </message>
    <message>
        <source>The &amp;live cells&apos; box</source>
        <translation>Le cadre des cellules &amp;vivantes</translation>
    </message>
    <message>
        <source>Cells:</source>
        <translation>Cellules :</translation>
    </message>
</context>
<context>
    <name>FieldExport</name>
    <message>
        <source>The scale must be %1 to %2, not %3.</source>
        <translation>L’échelle doit aller de %1 à %2, et non %3.</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 x %1 pixels.</source>
        <translation>La mémoire ne suffit pas pour une image de %1 x %1 pixels.</translation>
    </message>
    <message>
        <source>The number of generations must be %1 to %2, not %3.</source>
        <translation>Le nombre de générations doit aller de %1 à %2, et non %3.</translation>
    </message>
    <message>
        <source>A frame cannot be shown for %1 hundredths of a second.</source>
        <translation>Une image ne peut pas être affichée pendant %1 centièmes de seconde.</translation>
    </message>
    <message>
        <source>A picture of %1 x %2 cells at this zoom would be more than %3 pixels a side; choose a smaller scale or fewer cells.</source>
        <translation>Une image de %1 x %2 cellules à ce zoom dépasserait %3 pixels de côté ; choisissez une échelle plus petite ou moins de cellules.</translation>
    </message>
</context>
<context>
    <name>FormFieldEditor</name>
    <message>
        <source>Field editor</source>
        <translation>Éditeur du champ</translation>
    </message>
    <message>
        <source>[None]</source>
        <translation>[Aucun]</translation>
    </message>
    <message>
        <source>[On]</source>
        <translation>[Vie]</translation>
    </message>
    <message>
        <source>[Off]</source>
        <translation>[Mort]</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>GifWriter</name>
    <message>
        <source>The file is open already.</source>
        <translation>Le fichier est déjà ouvert.</translation>
    </message>
    <message>
        <source>A GIF cannot hold a picture of %1 x %2 pixels in %3 colours.</source>
        <translation>Un GIF ne peut pas contenir une image de %1 x %2 pixels en %3 couleurs.</translation>
    </message>
    <message>
        <source>The file is not open.</source>
        <translation>Le fichier n’est pas ouvert.</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 pixels at (%3, %4) shown for %5 hundredths does not fit the GIF.</source>
        <translation>Une image de %1 x %2 pixels en (%3, %4) affichée %5 centièmes ne tient pas dans le GIF.</translation>
    </message>
    <message>
        <source>Unknown GIF error.</source>
        <translation>Erreur GIF inconnue.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Computing generations…</source>
        <translation>Calcul des générations…</translation>
    </message>
    <message>
        <source>Conway&apos;s Life</source>
        <translation>Vie de Conway</translation>
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
        <translation>Vie sans mort</translation>
    </message>
    <message>
        <source>Maze</source>
        <translation>Labyrinthe</translation>
    </message>
    <message>
        <source>Replicator</source>
        <translation>Réplicateur</translation>
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
        <translation>Cerveau de Brian</translation>
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
        <translation>Life hexagonal</translation>
    </message>
    <message>
        <source>Von Neumann rule</source>
        <translation>Von Neumann</translation>
    </message>
    <message>
        <source>Cells: %1</source>
        <translation>Cellules : %1</translation>
    </message>
    <message>
        <source>Field size: %1 * %2</source>
        <translation>Champ : %1 * %2</translation>
    </message>
    <message>
        <source>Generation: %1</source>
        <translation>Génération : %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>State: evolving</source>
        <translation>État : en évolution</translation>
    </message>
    <message>
        <source>State: died out at generation %1</source>
        <translation>État : éteint à la génération %1</translation>
    </message>
    <message>
        <source>State: still since generation %1</source>
        <translation>État : stable depuis la génération %1</translation>
    </message>
    <message>
        <source>State: period %1 since generation %2</source>
        <translation>État : période %1 depuis la gén. %2</translation>
    </message>
    <message>
        <source>State: not settled after %1 generations</source>
        <translation>État : pas stabilisé après %1 générations</translation>
    </message>
    <message>
        <source>Rule: a name or B/S notation, such as B36/S23 or B2/S/C3; Enter applies it</source>
        <translation>Règle : un nom ou la notation B/S, par exemple B36/S23 ou B2/S/C3 ; Entrée l’applique</translation>
    </message>
    <message>
        <source>Open pattern</source>
        <translation>Ouvrir un motif</translation>
    </message>
    <message>
        <source>Could not open the pattern file &quot;%1&quot;:
%2</source>
        <translation>Impossible d’ouvrir le fichier de motif « %1 » :
%2</translation>
    </message>
    <message>
        <source>Save pattern</source>
        <translation>Enregistrer le motif</translation>
    </message>
    <message>
        <source>Could not save the pattern file &quot;%1&quot;:
%2</source>
        <translation>Impossible d’enregistrer le fichier de motif « %1 » :
%2</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler : %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir : %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Exporter une image</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Images PNG (*.png)</translation>
    </message>
    <message>
        <source>Could not export the image &quot;%1&quot;:
%2</source>
        <translation>Impossible d’exporter l’image « %1 » :
%2</translation>
    </message>
    <message>
        <source>Export animation</source>
        <translation>Exporter une animation</translation>
    </message>
    <message>
        <source>GIF animations (*.gif)</source>
        <translation>Animations GIF (*.gif)</translation>
    </message>
    <message>
        <source>Writing the animation…</source>
        <translation>Écriture de l’animation…</translation>
    </message>
    <message>
        <source>Could not export the animation &quot;%1&quot;:
%2</source>
        <translation>Impossible d’exporter l’animation « %1 » :
%2</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&lt;div&gt;&lt;b&gt;Conway&apos;s Game of Life&lt;/b&gt;&lt;hr/&gt;Author: Tarvinek&lt;/div&gt;</source>
        <translation>&lt;div&gt;&lt;b&gt;Le jeu de la vie de Conway&lt;/b&gt;&lt;hr/&gt;Auteur : Tarvinek&lt;/div&gt;</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Lancement</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Vider</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Hasard</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Éditer</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Règle</translation>
    </message>
    <message>
        <source>Run until settled</source>
        <translation>Lancer jusqu’au repos</translation>
    </message>
    <message>
        <source>Go to generation</source>
        <translation>Aller à la génération</translation>
    </message>
    <message>
        <source>Generation (%1 to %2):</source>
        <translation>Génération (%1 à %2) :</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Dessin</translation>
    </message>
    <message>
        <source>Conway&apos;s Game of Life</source>
        <translation>Le jeu de la vie de Conway</translation>
    </message>
    <message>
        <source>&amp;Open pattern…</source>
        <translation>&amp;Ouvrir un motif…</translation>
    </message>
    <message>
        <source>&amp;Save pattern as…</source>
        <translation>Enre&amp;gistrer le motif sous…</translation>
    </message>
    <message>
        <source>Export &amp;image…</source>
        <translation>Exporter une &amp;image…</translation>
    </message>
    <message>
        <source>Export &amp;animation…</source>
        <translation>Exporter une &amp;animation…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Lancer</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>Arrê&amp;ter</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Suivant</translation>
    </message>
    <message>
        <source>&amp;Run until settled</source>
        <translation>Lancer jusqu’au &amp;repos</translation>
    </message>
    <message>
        <source>&amp;Go to generation…</source>
        <translation>Aller à la &amp;génération…</translation>
    </message>
    <message>
        <source>Populat&amp;ion graph</source>
        <translation>Graphique de la p&amp;opulation</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lancer</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Champ</translation>
    </message>
    <message>
        <source>Clear field</source>
        <translation>Vider le champ</translation>
    </message>
    <message>
        <source>Random field</source>
        <translation>Champ au hasard</translation>
    </message>
    <message>
        <source>Edit field</source>
        <translation>Éditer le champ</translation>
    </message>
    <message>
        <source>Save state</source>
        <translation>Enregistrer l’état</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Speed (iter./sec.):</source>
        <translation>Vitesse (gén./s) :</translation>
    </message>
    <message>
        <source>Cell color:</source>
        <translation>Couleur :</translation>
    </message>
    <message>
        <source>Speed (iter./sec.)</source>
        <translation>Vitesse (générations par seconde)</translation>
    </message>
    <message>
        <source>Cell color</source>
        <translation>Couleur des cellules</translation>
    </message>
    <message>
        <source> Red</source>
        <translation> Rouge</translation>
    </message>
    <message>
        <source> Green</source>
        <translation> Vert</translation>
    </message>
    <message>
        <source> Blue</source>
        <translation> Bleu</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Règle :</translation>
    </message>
    <message>
        <source>Pause when settled</source>
        <translation>Pause au repos</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Infos</translation>
    </message>
    <message>
        <source>Field size: *</source>
        <translation>Champ : *</translation>
    </message>
    <message>
        <source>Generation: *</source>
        <translation>Génération : *</translation>
    </message>
    <message>
        <source>Cells: *</source>
        <translation>Cellules : *</translation>
    </message>
    <message>
        <source>State: *</source>
        <translation>État : *</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Examples</source>
        <translation>&amp;Exemples</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Simulation</source>
        <translation>&amp;Simulation</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>C’est un dossier.</translation>
    </message>
    <message>
        <source>It is not an ordinary file.</source>
        <translation>Ce n’est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>The file is larger than 1 MiB (%1 bytes); pattern files are far smaller.</source>
        <translation>Le fichier dépasse 1 Mio (%1 octets) ; les fichiers de motif sont bien plus petits.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Population</source>
        <translation>Population</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Génération</translation>
    </message>
    <message>
        <source>Live cells</source>
        <translation>Cellules vivantes</translation>
    </message>
    <message>
        <source>%1 by %2 cells, %3 alive; cursor on row %4, column %5</source>
        <translation>%1 sur %2 cellules, %3 vivantes ; curseur en ligne %4, colonne %5</translation>
    </message>
    <message>
        <source>RLE (*.rle)</source>
        <translation>RLE (*.rle)</translation>
    </message>
    <message>
        <source>Plaintext (*.cells)</source>
        <translation>Texte brut (*.cells)</translation>
    </message>
    <message>
        <source>Life 1.06 (*.lif *.life)</source>
        <translation>Life 1.06 (*.lif *.life)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists already. Replace it?</source>
        <translation>« %1 » existe déjà. Le remplacer ?</translation>
    </message>
    <message>
        <source>Paste pattern</source>
        <translation>Coller le motif</translation>
    </message>
    <message>
        <source>The clipboard holds no pattern that can be pasted:
%1</source>
        <translation>Le presse-papiers ne contient aucun motif à coller :
%1</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>Ouvrir un fichier &amp;récent</translation>
    </message>
    <message>
        <source>State: empty</source>
        <translation>État : vide</translation>
    </message>
    <message>
        <source>Generation limit</source>
        <translation>Limite de générations</translation>
    </message>
    <message>
        <source>Generations Run until settled looks at (1 to %1):</source>
        <translation>Générations examinées par « Lancer jusqu’au repos » (1 à %1) :</translation>
    </message>
    <message>
        <source>Generation &amp;limit…</source>
        <translation>L&amp;imite de générations…</translation>
    </message>
    <message>
        <source>Plane of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Plan de %1 sur %2 cellules, %3 vivantes ; curseur sur %4, %5</translation>
    </message>
    <message>
        <source>Torus of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Tore de %1 sur %2 cellules, %3 vivantes ; curseur sur %4, %5</translation>
    </message>
    <message>
        <source>Unbounded plane, %1 alive; cursor on %2, %3</source>
        <translation>Plan illimité, %1 vivantes ; curseur sur %2, %3</translation>
    </message>
    <message>
        <source>There is not enough memory for this universe.</source>
        <translation>La mémoire ne suffit pas pour cet univers.</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Univers</translation>
    </message>
    <message>
        <source>The generation cannot go past 2^63 - 1.</source>
        <translation>La génération ne peut dépasser 2^63 - 1.</translation>
    </message>
    <message>
        <source>State: evolving; no cycles looked for above %1 cells</source>
        <translation>État : en évolution ; pas de recherche de cycle au-delà de %1 cellules</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every generation since generation %3</source>
        <translation>État : se déplace de (%1, %2) à chaque génération depuis la génération %3</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every %3 generations since generation %4</source>
        <translation>État : se déplace de (%1, %2) toutes les %3 générations depuis la génération %4</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, plane</source>
        <translation>Taille : %1 * %2, plan</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, torus</source>
        <translation>Taille : %1 * %2, tore</translation>
    </message>
    <message>
        <source>Field size: unbounded</source>
        <translation>Taille : illimitée</translation>
    </message>
    <message>
        <source>Edit: the field editor edits the classic field only</source>
        <translation>Modifier : l’éditeur ne modifie que le champ classique</translation>
    </message>
    <message>
        <source>The run stopped:
%1</source>
        <translation>L’exécution s’est arrêtée :
%1</translation>
    </message>
    <message>
        <source>&amp;Universe…</source>
        <translation>&amp;Univers…</translation>
    </message>
    <message>
        <source>&amp;Faster</source>
        <translation>Plus &amp;vite</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>Zoom &amp;avant</translation>
    </message>
    <message>
        <source>Zoom &amp;out</source>
        <translation>Zoom a&amp;rrière</translation>
    </message>
    <message>
        <source>&amp;Fit pattern</source>
        <translation>A&amp;juster au motif</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>Affic&amp;hage</translation>
    </message>
    <message>
        <source>Patterns (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;All files (*)</source>
        <translation>Motifs (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Macrocell (*.mc)</source>
        <translation>Macrocell (*.mc)</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB (%2 bytes).</source>
        <translation>Le fichier dépasse %1 Mio (%2 octets).</translation>
    </message>
    <message>
        <source>Slo&amp;wer</source>
        <translation>Plus le&amp;nt</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one glider escaping</source>
        <translation>État : stable depuis la gén. %1, un planeur s’échappe</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 gliders escaping</source>
        <translation>État : stable depuis la gén. %1, %2 planeurs s’échappent</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one spaceship escaping</source>
        <translation>État : stable depuis la gén. %1, un vaisseau s’échappe</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 spaceships escaping</source>
        <translation>État : stable depuis la gén. %1, %2 vaisseaux s’échappent</translation>
    </message>
    <message>
        <source>&amp;Census…</source>
        <translation>Re&amp;censement…</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Vider la sélection</translation>
    </message>
    <message>
        <source>Clear outside</source>
        <translation>Vider l’extérieur</translation>
    </message>
    <message>
        <source>Fill at random</source>
        <translation>Remplir au hasard</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Miroir</translation>
    </message>
    <message>
        <source>The text is larger than %1 MiB (%2 bytes).</source>
        <translation>Le texte dépasse %1 Mio (%2 octets).</translation>
    </message>
    <message>
        <source>The pattern has no live cell.</source>
        <translation>Le motif n’a aucune cellule vivante.</translation>
    </message>
    <message>
        <source>The live cells span %1 x %2 cells: the universe of %3 x %4 cells cannot hold them, however turned.</source>
        <translation>Les cellules vivantes couvrent %1 x %2 cellules : l’univers de %3 x %4 cellules ne peut les contenir, quelle que soit l’orientation.</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>The pattern cannot be pasted there:
%1</source>
        <translation>Le motif ne peut pas être collé ici :
%1</translation>
    </message>
    <message>
        <source>Live cells, in % of the selection:</source>
        <translation>Cellules vivantes, en % de la sélection :</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Vider</translation>
    </message>
    <message>
        <source>Clear &amp;outside</source>
        <translation>Vider l’e&amp;xtérieur</translation>
    </message>
    <message>
        <source>&amp;Fill at random…</source>
        <translation>Remplir au &amp;hasard…</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>&amp;Désélectionner</translation>
    </message>
    <message>
        <source>Rotate cloc&amp;kwise</source>
        <translation>Tourner dans le sens &amp;horaire</translation>
    </message>
    <message>
        <source>Rotate anticlockw&amp;ise</source>
        <translation>Tourner dans le sens &amp;antihoraire</translation>
    </message>
    <message>
        <source>Flip left to &amp;right</source>
        <translation>Retourner de gauche à &amp;droite</translation>
    </message>
    <message>
        <source>Flip top to &amp;bottom</source>
        <translation>Retourner de haut en &amp;bas</translation>
    </message>
    <message>
        <source>Paste &amp;mode</source>
        <translation>&amp;Mode de collage</translation>
    </message>
    <message>
        <source>&amp;Or: live cells are added</source>
        <translation>&amp;Ou : les cellules vivantes s’ajoutent</translation>
    </message>
    <message>
        <source>&amp;Copy: the rectangle replaces what was there</source>
        <translation>&amp;Copie : le rectangle remplace ce qui s’y trouvait</translation>
    </message>
    <message>
        <source>&amp;Xor: live cells change what was there</source>
        <translation>&amp;Xor : les cellules vivantes inversent ce qui s’y trouvait</translation>
    </message>
    <message>
        <source>Click or drag to draw cells; drag from a live cell to erase; Shift+drag to select</source>
        <translation>Cliquer ou glisser pour dessiner des cellules ; glisser depuis une cellule vivante pour effacer ; Maj+glisser pour sélectionner</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 cellules</translation>
    </message>
    <message>
        <source>; selected: %1 by %2 cells from %3, %4</source>
        <translation>; sélection : %1 sur %2 cellules depuis %3, %4</translation>
    </message>
    <message>
        <source>&amp;Grid</source>
        <translation>&amp;Grille</translation>
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

Passer au plan illimité et l'y coller ?</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, shifted torus (%3)</source>
        <translation>Taille : %1 * %2, tore décalé (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, Klein bottle (%3)</source>
        <translation>Taille : %1 * %2, bouteille de Klein (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, cross-surface</source>
        <translation>Taille : %1 * %2, cross-cap</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, sphere</source>
        <translation>Taille : %1 * %2, sphère</translation>
    </message>
    <message>
        <source>Klein bottle of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Bouteille de Klein de %1 sur %2 cellules, %3 vivantes ; curseur sur %4, %5</translation>
    </message>
    <message>
        <source>Cross-surface of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Cross-cap de %1 sur %2 cellules, %3 vivantes ; curseur sur %4, %5</translation>
    </message>
    <message>
        <source>Sphere of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Sphère de %1 sur %2 cellules, %3 vivantes ; curseur sur %4, %5</translation>
    </message>
    <message>
        <source>Pattern &amp;information…</source>
        <translation>&amp;Informations sur le motif…</translation>
    </message>
    <message>
        <source>Follow &amp;pattern</source>
        <translation>&amp;Suivre le motif</translation>
    </message>
    <message>
        <source>Pa&amp;tterns</source>
        <translation>Mo&amp;tifs</translation>
    </message>
    <message>
        <source>This pattern comes with notes: File &gt; Pattern information (Ctrl+I)</source>
        <translation>Ce motif a des notes : Fichier &gt; Informations sur le motif (Ctrl+I)</translation>
    </message>
    <message>
        <source>State: a gun of period %1</source>
        <translation>État : un canon de période %1</translation>
    </message>
    <message>
        <source>State: a puffer of period %1</source>
        <translation>État : un puffer de période %1</translation>
    </message>
    <message>
        <source>State: grows linearly</source>
        <translation>État : croît linéairement</translation>
    </message>
    <message>
        <source>State: grows quadratically</source>
        <translation>État : croît quadratiquement</translation>
    </message>
    <message>
        <source>State: grows faster than quadratically</source>
        <translation>État : croît plus vite que quadratiquement</translation>
    </message>
    <message>
        <source>Cells: infinitely many</source>
        <translation>Cellules : une infinité</translation>
    </message>
    <message>
        <source>infinitely many</source>
        <translation>une infinité</translation>
    </message>
    <message>
        <source>Every cell of the unbounded plane is alive but %1, and a pattern file holds only finitely many live cells.</source>
        <translation>Toutes les cellules du plan illimité sont vivantes sauf %1, et un fichier de motif ne contient qu’un nombre fini de cellules vivantes.</translation>
    </message>
    <message>
        <source>Field size: endless strip of %1</source>
        <translation>Taille du champ : bande sans fin de %1</translation>
    </message>
    <message>
        <source>Field size: endless tube of %1</source>
        <translation>Taille du champ : tube sans fin de %1</translation>
    </message>
    <message>
        <source>Endless strip of %1 cells across, %2 alive; cursor on %3, %4</source>
        <translation>Bande sans fin de %1 cellules de large, %2 vivantes ; curseur sur %3, %4</translation>
    </message>
</context>
<context>
    <name>PatternInfoDialog</name>
    <message>
        <source>Pattern information</source>
        <translation>Informations sur le motif</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Auteur :</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Commentaires :</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Règle :</translation>
    </message>
    <message>
        <source>Universe:</source>
        <translation>Univers :</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille :</translation>
    </message>
    <message>
        <source>Population:</source>
        <translation>Population :</translation>
    </message>
    <message>
        <source>Generation:</source>
        <translation>Génération :</translation>
    </message>
    <message>
        <source>The classic field, %1 × %2 cells</source>
        <translation>Le champ classique, %1 × %2 cellules</translation>
    </message>
    <message>
        <source>A plane of %1 × %2 cells</source>
        <translation>Un plan de %1 × %2 cellules</translation>
    </message>
    <message>
        <source>A torus of %1 × %2 cells</source>
        <translation>Un tore de %1 × %2 cellules</translation>
    </message>
    <message>
        <source>A shifted torus of %1 × %2 cells (%3)</source>
        <translation>Un tore décalé de %1 × %2 cellules (%3)</translation>
    </message>
    <message>
        <source>A Klein bottle of %1 × %2 cells (%3)</source>
        <translation>Une bouteille de Klein de %1 × %2 cellules (%3)</translation>
    </message>
    <message>
        <source>A cross-surface of %1 × %2 cells</source>
        <translation>Un cross-cap de %1 × %2 cellules</translation>
    </message>
    <message>
        <source>A sphere of %1 × %2 cells</source>
        <translation>Une sphère de %1 × %2 cellules</translation>
    </message>
    <message>
        <source>The unbounded plane</source>
        <translation>Le plan illimité</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(aucun)</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 cellules</translation>
    </message>
    <message>
        <source>No live cells</source>
        <translation>Aucune cellule vivante</translation>
    </message>
    <message>
        <source>Too many to count</source>
        <translation>Trop nombreuses pour être comptées</translation>
    </message>
    <message>
        <source>Infinitely many</source>
        <translation>Une infinité</translation>
    </message>
    <message>
        <source>An endless strip %1 cells across (%2)</source>
        <translation>Une bande sans fin de %1 cellules de large (%2)</translation>
    </message>
    <message>
        <source>An endless tube %1 cells around (%2)</source>
        <translation>Un tube sans fin de %1 cellules de tour (%2)</translation>
    </message>
</context>
<context>
    <name>PatternsDock</name>
    <message>
        <source>Patterns</source>
        <translation>Motifs</translation>
    </message>
    <message>
        <source>Built-in examples</source>
        <translation>Exemples fournis</translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation>Choisir un dossier…</translation>
    </message>
    <message>
        <source>Folder of patterns</source>
        <translation>Dossier de motifs</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>&amp;Clear list</source>
        <translation>&amp;Vider la liste</translation>
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
        <translation>vivante</translation>
    </message>
    <message>
        <source>has been alive</source>
        <translation>a été vivante</translation>
    </message>
    <message>
        <source>marked, alive</source>
        <translation>marquée, vivante</translation>
    </message>
    <message>
        <source>marked, dead</source>
        <translation>marquée, morte</translation>
    </message>
    <message>
        <source>alive at the start</source>
        <translation>vivante au départ</translation>
    </message>
    <message>
        <source>boundary</source>
        <translation>bordure</translation>
    </message>
    <message>
        <source>dying, state %1</source>
        <translation>mourante, état %1</translation>
    </message>
</context>
<context>
    <name>StepControl</name>
    <message>
        <source>Step: %1 gen./tick</source>
        <translation>Pas : %1 gén./top</translation>
    </message>
    <message>
        <source>Generations computed at each tick: ] doubles them, [ halves them, up to %1 here</source>
        <translation>Générations calculées à chaque top : ] les double, [ les divise par deux, jusqu’à %1 ici</translation>
    </message>
</context>
<context>
    <name>UniverseDialog</name>
    <message>
        <source>&amp;Classic field, 120 × 120</source>
        <translation>Champ &amp;classique, 120 × 120</translation>
    </message>
    <message>
        <source>Bounded &amp;plane</source>
        <translation>&amp;Plan borné</translation>
    </message>
    <message>
        <source>&amp;Torus</source>
        <translation>&amp;Tore</translation>
    </message>
    <message>
        <source>&amp;Unbounded plane</source>
        <translation>Plan &amp;illimité</translation>
    </message>
    <message>
        <source>&amp;Start in this universe</source>
        <translation>&amp;Démarrer dans cet univers</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Univers</translation>
    </message>
    <message>
        <source> cells</source>
        <translation> cellules</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Otherwise the program starts in the classic field</source>
        <translation>Sinon le programme démarre dans le champ classique</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> Mio</translation>
    </message>
    <message>
        <source>Memory for the unbounded plane</source>
        <translation>Mémoire pour le plan illimité</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Largeur :</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Hauteur :</translation>
    </message>
    <message>
        <source>&amp;Memory for the unbounded plane:</source>
        <translation>&amp;Mémoire pour le plan illimité :</translation>
    </message>
    <message>
        <source>%1 live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>%1 cellules vivantes sont hors de cet univers et seront perdues. Changer d’univers ?</translation>
    </message>
    <message>
        <source>At most %1 cells: choose a smaller width or height.</source>
        <translation>%1 cellules au plus : choisissez une largeur ou une hauteur plus petite.</translation>
    </message>
    <message>
        <source>%1 live cells would be lost.</source>
        <translation>%1 cellules vivantes seraient perdues.</translation>
    </message>
    <message>
        <source>&amp;Klein bottle</source>
        <translation>Bouteille de &amp;Klein</translation>
    </message>
    <message>
        <source>Cr&amp;oss-surface</source>
        <translation>Cr&amp;oss-cap</translation>
    </message>
    <message>
        <source>Sph&amp;ere</source>
        <translation>Sp&amp;hère</translation>
    </message>
    <message>
        <source>Top and bottom</source>
        <translation>Haut et bas</translation>
    </message>
    <message>
        <source>Left and right</source>
        <translation>Gauche et droite</translation>
    </message>
    <message>
        <source>Twisted or shifted e&amp;dges:</source>
        <translation>Bor&amp;ds retournés ou décalés :</translation>
    </message>
    <message>
        <source>Shi&amp;ft:</source>
        <translation>Déca&amp;lage :</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Décalage</translation>
    </message>
    <message>
        <source>0, endless</source>
        <translation>0, sans fin</translation>
    </message>
    <message>
        <source>A size of 0 makes an endless strip: a plane or a torus without a shift, at most %1 cells the other way.</source>
        <translation>Une taille de 0 donne une bande sans fin : un plan ou un tore sans décalage, d’au plus %1 cellules dans l’autre sens.</translation>
    </message>
    <message>
        <source>Infinitely many live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>Une infinité de cellules vivantes se trouvent hors de cet univers et seront perdues. Changer d’univers ?</translation>
    </message>
    <message>
        <source>Infinitely many live cells would be lost.</source>
        <translation>Une infinité de cellules vivantes seraient perdues.</translation>
    </message>
</context>
</TS>
