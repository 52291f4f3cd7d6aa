<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>CensusDialog</name>
    <message>
        <source>block</source>
        <translation>bloque</translation>
    </message>
    <message>
        <source>beehive</source>
        <translation>colmena</translation>
    </message>
    <message>
        <source>loaf</source>
        <translation>pan</translation>
    </message>
    <message>
        <source>boat</source>
        <translation>bote</translation>
    </message>
    <message>
        <source>ship</source>
        <translation>barco</translation>
    </message>
    <message>
        <source>tub</source>
        <translation>tina</translation>
    </message>
    <message>
        <source>pond</source>
        <translation>estanque</translation>
    </message>
    <message>
        <source>barge</source>
        <translation>barcaza</translation>
    </message>
    <message>
        <source>long boat</source>
        <translation>bote largo</translation>
    </message>
    <message>
        <source>mango</source>
        <translation>mango</translation>
    </message>
    <message>
        <source>eater 1</source>
        <translation>comedor 1</translation>
    </message>
    <message>
        <source>blinker</source>
        <translation>parpadeador</translation>
    </message>
    <message>
        <source>toad</source>
        <translation>sapo</translation>
    </message>
    <message>
        <source>beacon</source>
        <translation>faro</translation>
    </message>
    <message>
        <source>pulsar</source>
        <translation>púlsar</translation>
    </message>
    <message>
        <source>pentadecathlon</source>
        <translation>pentadecatlón</translation>
    </message>
    <message>
        <source>glider</source>
        <translation>planeador</translation>
    </message>
    <message>
        <source>lightweight spaceship</source>
        <translation>nave ligera</translation>
    </message>
    <message>
        <source>middleweight spaceship</source>
        <translation>nave mediana</translation>
    </message>
    <message>
        <source>heavyweight spaceship</source>
        <translation>nave pesada</translation>
    </message>
    <message>
        <source>still life of %1 cells</source>
        <translation>vida estática de %1 células</translation>
    </message>
    <message>
        <source>period %1 oscillator of %2 cells</source>
        <translation>oscilador de periodo %1 de %2 células</translation>
    </message>
    <message>
        <source>period %1 spaceship of %2 cells</source>
        <translation>nave de periodo %1 de %2 células</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>Census</source>
        <translation>Censo</translation>
    </message>
    <message>
        <source>Objects left behind</source>
        <translation>Objetos que quedan</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Cantidad</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objeto</translation>
    </message>
    <message>
        <source>Copy the census</source>
        <translation>Copiar el censo</translation>
    </message>
    <message>
        <source>The census is taken in the unbounded plane: choose it under Simulation &gt; Universe.</source>
        <translation>El censo se hace en el plano ilimitado: elíjalo en Simulación &gt; Universo.</translation>
    </message>
    <message>
        <source>The census counts LifeHistory&apos;s live cells as Life&apos;s; it refuses boundary cells (state 6).</source>
        <translation>El censo cuenta las células vivas de LifeHistory como las de Life; rechaza las células de frontera (estado 6).</translation>
    </message>
    <message>
        <source>No census is taken of more than %1 live cells.</source>
        <translation>No se hace censo de más de %1 células vivas.</translation>
    </message>
    <message>
        <source>Not stable yet: it evolves still. The census follows the run.</source>
        <translation>Aún no es estable: el patrón sigue evolucionando. El censo sigue la ejecución.</translation>
    </message>
    <message>
        <source>Not stable after %1 generations.</source>
        <translation>Inestable tras %1 generaciones.</translation>
    </message>
    <message>
        <source>Dies out, lifespan %1.</source>
        <translation>Se extingue, vida %1.</translation>
    </message>
    <message>
        <source>Lifespan %1, %2 cells, period %3.</source>
        <translation>Vida %1, %2 células, periodo %3.</translation>
    </message>
    <message>
        <source>Lifespan %1, every cell alive but %2, period %3.</source>
        <translation>Vida %1, todas las células vivas salvo %2, periodo %3.</translation>
    </message>
    <message>
        <source>%1 (escaping)</source>
        <translation>%1 (escapando)</translation>
    </message>
    <message>
        <source>%1 every %2 generations</source>
        <translation>%1 cada %2 generaciones</translation>
    </message>
    <message>
        <source>A gun of period %1.</source>
        <translation>Un cañón de periodo %1.</translation>
    </message>
    <message>
        <source>A puffer of period %1: it moves by (%2, %3) every %1 generations and leaves debris.</source>
        <translation>Un puffer de periodo %1: se desplaza (%2, %3) cada %1 generaciones y deja restos.</translation>
    </message>
    <message>
        <source>Grows linearly: %1 cells after %2 generations.</source>
        <translation>Crece linealmente: %1 células tras %2 generaciones.</translation>
    </message>
    <message>
        <source>Grows quadratically: %1 cells after %2 generations.</source>
        <translation>Crece cuadráticamente: %1 células tras %2 generaciones.</translation>
    </message>
    <message>
        <source>Grows faster than quadratically: %1 cells after %2 generations.</source>
        <translation>Crece más rápido que cuadráticamente: %1 células tras %2 generaciones.</translation>
    </message>
</context>
<context>
    <name>ExportOptions</name>
    <message>
        <source>Export animation</source>
        <translation>Exportar animación</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Exportar imagen</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Escala:</translation>
    </message>
    <message>
        <source>&amp;Generations after this one:</source>
        <translation>&amp;Generaciones después de esta:</translation>
    </message>
    <message>
        <source>What the &amp;view shows</source>
        <translation>Lo que muestra la &amp;vista</translation>
    </message>
    <message>
        <source>The &amp;live cells&apos; box</source>
        <translation>El recuadro de las células &amp;vivas</translation>
    </message>
    <message>
        <source>Cells:</source>
        <translation>Células:</translation>
    </message>
</context>
<context>
    <name>FieldExport</name>
    <message>
        <source>The scale must be %1 to %2, not %3.</source>
        <translation>La escala debe ir de %1 a %2, no %3.</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 x %1 pixels.</source>
        <translation>No hay memoria suficiente para una imagen de %1 x %1 píxeles.</translation>
    </message>
    <message>
        <source>The number of generations must be %1 to %2, not %3.</source>
        <translation>El número de generaciones debe ir de %1 a %2, no %3.</translation>
    </message>
    <message>
        <source>A frame cannot be shown for %1 hundredths of a second.</source>
        <translation>Un fotograma no puede mostrarse durante %1 centésimas de segundo.</translation>
    </message>
    <message>
        <source>A picture of %1 x %2 cells at this zoom would be more than %3 pixels a side; choose a smaller scale or fewer cells.</source>
        <translation>Una imagen de %1 x %2 células con este zoom tendría más de %3 píxeles de lado; elija una escala menor o menos células.</translation>
    </message>
</context>
<context>
    <name>FormFieldEditor</name>
    <message>
        <source>Field editor</source>
        <translation>Editor del campo</translation>
    </message>
    <message>
        <source>[None]</source>
        <translation>[Nada]</translation>
    </message>
    <message>
        <source>[On]</source>
        <translation>[Vida]</translation>
    </message>
    <message>
        <source>[Off]</source>
        <translation>[Muerte]</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>GifWriter</name>
    <message>
        <source>The file is open already.</source>
        <translation>El archivo ya está abierto.</translation>
    </message>
    <message>
        <source>A GIF cannot hold a picture of %1 x %2 pixels in %3 colours.</source>
        <translation>Un GIF no puede contener una imagen de %1 x %2 píxeles en %3 colores.</translation>
    </message>
    <message>
        <source>The file is not open.</source>
        <translation>El archivo no está abierto.</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 pixels at (%3, %4) shown for %5 hundredths does not fit the GIF.</source>
        <translation>Un fotograma de %1 x %2 píxeles en (%3, %4) mostrado %5 centésimas no cabe en el GIF.</translation>
    </message>
    <message>
        <source>Unknown GIF error.</source>
        <translation>Error de GIF desconocido.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Computing generations…</source>
        <translation>Calculando generaciones…</translation>
    </message>
    <message>
        <source>Conway&apos;s Life</source>
        <translation>Vida de Conway</translation>
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
        <translation>Vida sin muerte</translation>
    </message>
    <message>
        <source>Maze</source>
        <translation>Laberinto</translation>
    </message>
    <message>
        <source>Replicator</source>
        <translation>Replicador</translation>
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
        <translation>Cerebro de Brian</translation>
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
        <translation>Células: %1</translation>
    </message>
    <message>
        <source>Field size: %1 * %2</source>
        <translation>Campo: %1 * %2</translation>
    </message>
    <message>
        <source>Generation: %1</source>
        <translation>Generación: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>State: evolving</source>
        <translation>Estado: en evolución</translation>
    </message>
    <message>
        <source>State: died out at generation %1</source>
        <translation>Estado: extinguido en la generación %1</translation>
    </message>
    <message>
        <source>State: still since generation %1</source>
        <translation>Estado: estable desde la generación %1</translation>
    </message>
    <message>
        <source>State: period %1 since generation %2</source>
        <translation>Estado: periodo %1 desde la gen. %2</translation>
    </message>
    <message>
        <source>State: not settled after %1 generations</source>
        <translation>Estado: inestable tras %1 generaciones</translation>
    </message>
    <message>
        <source>Rule: a name or B/S notation, such as B36/S23 or B2/S/C3; Enter applies it</source>
        <translation>Regla: un nombre o la notación B/S, como B36/S23 o B2/S/C3; Intro la aplica</translation>
    </message>
    <message>
        <source>Open pattern</source>
        <translation>Abrir patrón</translation>
    </message>
    <message>
        <source>Could not open the pattern file &quot;%1&quot;:
%2</source>
        <translation>No se pudo abrir el archivo de patrón «%1»:
%2</translation>
    </message>
    <message>
        <source>Save pattern</source>
        <translation>Guardar patrón</translation>
    </message>
    <message>
        <source>Could not save the pattern file &quot;%1&quot;:
%2</source>
        <translation>No se pudo guardar el archivo de patrón «%1»:
%2</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Deshacer %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rehacer %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Exportar imagen</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Imágenes PNG (*.png)</translation>
    </message>
    <message>
        <source>Could not export the image &quot;%1&quot;:
%2</source>
        <translation>No se pudo exportar la imagen «%1»:
%2</translation>
    </message>
    <message>
        <source>Export animation</source>
        <translation>Exportar animación</translation>
    </message>
    <message>
        <source>GIF animations (*.gif)</source>
        <translation>Animaciones GIF (*.gif)</translation>
    </message>
    <message>
        <source>Writing the animation…</source>
        <translation>Escribiendo la animación…</translation>
    </message>
    <message>
        <source>Could not export the animation &quot;%1&quot;:
%2</source>
        <translation>No se pudo exportar la animación «%1»:
%2</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>&lt;div&gt;&lt;b&gt;Conway&apos;s Game of Life&lt;/b&gt;&lt;hr/&gt;Author: Tarvinek&lt;/div&gt;</source>
        <translation>&lt;div&gt;&lt;b&gt;El juego de la vida de Conway&lt;/b&gt;&lt;hr/&gt;Autor: Tarvinek&lt;/div&gt;</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Ejecución</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Vaciar</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Al azar</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Regla</translation>
    </message>
    <message>
        <source>Run until settled</source>
        <translation>Ejecutar hasta estabilizarse</translation>
    </message>
    <message>
        <source>Go to generation</source>
        <translation>Ir a la generación</translation>
    </message>
    <message>
        <source>Generation (%1 to %2):</source>
        <translation>Generación (%1 a %2):</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Dibujo</translation>
    </message>
    <message>
        <source>Conway&apos;s Game of Life</source>
        <translation>El juego de la vida de Conway</translation>
    </message>
    <message>
        <source>&amp;Open pattern…</source>
        <translation>&amp;Abrir patrón…</translation>
    </message>
    <message>
        <source>&amp;Save pattern as…</source>
        <translation>&amp;Guardar patrón como…</translation>
    </message>
    <message>
        <source>Export &amp;image…</source>
        <translation>Exportar &amp;imagen…</translation>
    </message>
    <message>
        <source>Export &amp;animation…</source>
        <translation>Exportar a&amp;nimación…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Iniciar</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>&amp;Pausa</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Siguiente</translation>
    </message>
    <message>
        <source>&amp;Run until settled</source>
        <translation>Ejecutar hasta &amp;estabilizarse</translation>
    </message>
    <message>
        <source>&amp;Go to generation…</source>
        <translation>Ir a la &amp;generación…</translation>
    </message>
    <message>
        <source>Populat&amp;ion graph</source>
        <translation>Gráfico de p&amp;oblación</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Acerca de</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulación</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Campo</translation>
    </message>
    <message>
        <source>Clear field</source>
        <translation>Vaciar campo</translation>
    </message>
    <message>
        <source>Random field</source>
        <translation>Campo al azar</translation>
    </message>
    <message>
        <source>Edit field</source>
        <translation>Editar campo</translation>
    </message>
    <message>
        <source>Save state</source>
        <translation>Guardar estado</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Speed (iter./sec.):</source>
        <translation>Veloc. (gen./s):</translation>
    </message>
    <message>
        <source>Cell color:</source>
        <translation>Color:</translation>
    </message>
    <message>
        <source>Speed (iter./sec.)</source>
        <translation>Velocidad (generaciones por segundo)</translation>
    </message>
    <message>
        <source>Cell color</source>
        <translation>Color de las células</translation>
    </message>
    <message>
        <source> Red</source>
        <translation> Rojo</translation>
    </message>
    <message>
        <source> Green</source>
        <translation> Verde</translation>
    </message>
    <message>
        <source> Blue</source>
        <translation> Azul</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Regla:</translation>
    </message>
    <message>
        <source>Pause when settled</source>
        <translation>Pausa al estabilizarse</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Field size: *</source>
        <translation>Campo: *</translation>
    </message>
    <message>
        <source>Generation: *</source>
        <translation>Generación: *</translation>
    </message>
    <message>
        <source>Cells: *</source>
        <translation>Células: *</translation>
    </message>
    <message>
        <source>State: *</source>
        <translation>Estado: *</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Examples</source>
        <translation>E&amp;jemplos</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Simulation</source>
        <translation>&amp;Simulación</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Es una carpeta.</translation>
    </message>
    <message>
        <source>It is not an ordinary file.</source>
        <translation>No es un archivo normal.</translation>
    </message>
    <message>
        <source>The file is larger than 1 MiB (%1 bytes); pattern files are far smaller.</source>
        <translation>El archivo ocupa más de 1 MiB (%1 bytes); los archivos de patrones son mucho más pequeños.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Population</source>
        <translation>Población</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Generación</translation>
    </message>
    <message>
        <source>Live cells</source>
        <translation>Células vivas</translation>
    </message>
    <message>
        <source>%1 by %2 cells, %3 alive; cursor on row %4, column %5</source>
        <translation>%1 por %2 células, %3 vivas; cursor en la fila %4, columna %5</translation>
    </message>
    <message>
        <source>RLE (*.rle)</source>
        <translation>RLE (*.rle)</translation>
    </message>
    <message>
        <source>Plaintext (*.cells)</source>
        <translation>Texto plano (*.cells)</translation>
    </message>
    <message>
        <source>Life 1.06 (*.lif *.life)</source>
        <translation>Life 1.06 (*.lif *.life)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists already. Replace it?</source>
        <translation>«%1» ya existe. ¿Reemplazarlo?</translation>
    </message>
    <message>
        <source>Paste pattern</source>
        <translation>Pegar patrón</translation>
    </message>
    <message>
        <source>The clipboard holds no pattern that can be pasted:
%1</source>
        <translation>El portapapeles no contiene ningún patrón que se pueda pegar:
%1</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>Abrir &amp;reciente</translation>
    </message>
    <message>
        <source>State: empty</source>
        <translation>Estado: vacío</translation>
    </message>
    <message>
        <source>Generation limit</source>
        <translation>Límite de generaciones</translation>
    </message>
    <message>
        <source>Generations Run until settled looks at (1 to %1):</source>
        <translation>Generaciones que examina «Ejecutar hasta estabilizarse» (1 a %1):</translation>
    </message>
    <message>
        <source>Generation &amp;limit…</source>
        <translation>&amp;Límite de generaciones…</translation>
    </message>
    <message>
        <source>Plane of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Plano de %1 por %2 células, %3 vivas; cursor en %4, %5</translation>
    </message>
    <message>
        <source>Torus of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Toro de %1 por %2 células, %3 vivas; cursor en %4, %5</translation>
    </message>
    <message>
        <source>Unbounded plane, %1 alive; cursor on %2, %3</source>
        <translation>Plano ilimitado, %1 vivas; cursor en %2, %3</translation>
    </message>
    <message>
        <source>There is not enough memory for this universe.</source>
        <translation>No hay memoria suficiente para este universo.</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Universo</translation>
    </message>
    <message>
        <source>The generation cannot go past 2^63 - 1.</source>
        <translation>La generación no puede pasar de 2^63 - 1.</translation>
    </message>
    <message>
        <source>State: evolving; no cycles looked for above %1 cells</source>
        <translation>Estado: en evolución; no se buscan ciclos por encima de %1 células</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every generation since generation %3</source>
        <translation>Estado: se mueve (%1, %2) cada generación desde la generación %3</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every %3 generations since generation %4</source>
        <translation>Estado: se mueve (%1, %2) cada %3 generaciones desde la generación %4</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, plane</source>
        <translation>Tamaño: %1 * %2, plano</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, torus</source>
        <translation>Tamaño: %1 * %2, toro</translation>
    </message>
    <message>
        <source>Field size: unbounded</source>
        <translation>Tamaño: ilimitado</translation>
    </message>
    <message>
        <source>Edit: the field editor edits the classic field only</source>
        <translation>Editar: el editor solo edita el campo clásico</translation>
    </message>
    <message>
        <source>The run stopped:
%1</source>
        <translation>La ejecución se detuvo:
%1</translation>
    </message>
    <message>
        <source>&amp;Universe…</source>
        <translation>&amp;Universo…</translation>
    </message>
    <message>
        <source>&amp;Faster</source>
        <translation>Más &amp;rápido</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>&amp;Acercar</translation>
    </message>
    <message>
        <source>Zoom &amp;out</source>
        <translation>A&amp;lejar</translation>
    </message>
    <message>
        <source>&amp;Fit pattern</source>
        <translation>A&amp;justar al patrón</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Patterns (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;All files (*)</source>
        <translation>Patrones (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Macrocell (*.mc)</source>
        <translation>Macrocell (*.mc)</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB (%2 bytes).</source>
        <translation>El archivo supera los %1 MiB (%2 bytes).</translation>
    </message>
    <message>
        <source>Slo&amp;wer</source>
        <translation>Más le&amp;nto</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one glider escaping</source>
        <translation>Estado: estable desde la gen. %1, un planeador escapa</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 gliders escaping</source>
        <translation>Estado: estable desde la gen. %1, %2 planeadores escapan</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one spaceship escaping</source>
        <translation>Estado: estable desde la gen. %1, una nave escapa</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 spaceships escaping</source>
        <translation>Estado: estable desde la gen. %1, %2 naves escapan</translation>
    </message>
    <message>
        <source>&amp;Census…</source>
        <translation>&amp;Censo…</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Vaciar la selección</translation>
    </message>
    <message>
        <source>Clear outside</source>
        <translation>Vaciar el exterior</translation>
    </message>
    <message>
        <source>Fill at random</source>
        <translation>Rellenar al azar</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Girar</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Voltear</translation>
    </message>
    <message>
        <source>The text is larger than %1 MiB (%2 bytes).</source>
        <translation>El texto supera los %1 MiB (%2 bytes).</translation>
    </message>
    <message>
        <source>The pattern has no live cell.</source>
        <translation>El patrón no tiene ninguna célula viva.</translation>
    </message>
    <message>
        <source>The live cells span %1 x %2 cells: the universe of %3 x %4 cells cannot hold them, however turned.</source>
        <translation>Las células vivas abarcan %1 x %2 células: el universo de %3 x %4 células no puede contenerlas, se giren como se giren.</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>The pattern cannot be pasted there:
%1</source>
        <translation>El patrón no se puede pegar ahí:
%1</translation>
    </message>
    <message>
        <source>Live cells, in % of the selection:</source>
        <translation>Células vivas, en % de la selección:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Pegar</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cor&amp;tar</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Vaciar</translation>
    </message>
    <message>
        <source>Clear &amp;outside</source>
        <translation>Vaciar el e&amp;xterior</translation>
    </message>
    <message>
        <source>&amp;Fill at random…</source>
        <translation>&amp;Rellenar al azar…</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Seleccionar &amp;todo</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>&amp;Quitar la selección</translation>
    </message>
    <message>
        <source>Rotate cloc&amp;kwise</source>
        <translation>Girar en sentido &amp;horario</translation>
    </message>
    <message>
        <source>Rotate anticlockw&amp;ise</source>
        <translation>Girar en sentido &amp;antihorario</translation>
    </message>
    <message>
        <source>Flip left to &amp;right</source>
        <translation>Voltear de izquierda a &amp;derecha</translation>
    </message>
    <message>
        <source>Flip top to &amp;bottom</source>
        <translation>Voltear de arriba a a&amp;bajo</translation>
    </message>
    <message>
        <source>Paste &amp;mode</source>
        <translation>&amp;Modo de pegado</translation>
    </message>
    <message>
        <source>&amp;Or: live cells are added</source>
        <translation>&amp;O: se añaden las células vivas</translation>
    </message>
    <message>
        <source>&amp;Copy: the rectangle replaces what was there</source>
        <translation>&amp;Copia: el rectángulo sustituye lo que había</translation>
    </message>
    <message>
        <source>&amp;Xor: live cells change what was there</source>
        <translation>&amp;Xor: las células vivas invierten lo que había</translation>
    </message>
    <message>
        <source>Click or drag to draw cells; drag from a live cell to erase; Shift+drag to select</source>
        <translation>Haga clic o arrastre para dibujar células; arrastre desde una célula viva para borrar; Mayús+arrastrar para seleccionar</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 células</translation>
    </message>
    <message>
        <source>; selected: %1 by %2 cells from %3, %4</source>
        <translation>; seleccionadas: %1 por %2 células desde %3, %4</translation>
    </message>
    <message>
        <source>&amp;Grid</source>
        <translation>&amp;Cuadrícula</translation>
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

¿Cambiar al plano ilimitado y pegarlo allí?</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, shifted torus (%3)</source>
        <translation>Tamaño: %1 * %2, toro desplazado (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, Klein bottle (%3)</source>
        <translation>Tamaño: %1 * %2, botella de Klein (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, cross-surface</source>
        <translation>Tamaño: %1 * %2, superficie cruzada</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, sphere</source>
        <translation>Tamaño: %1 * %2, esfera</translation>
    </message>
    <message>
        <source>Klein bottle of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Botella de Klein de %1 por %2 células, %3 vivas; cursor en %4, %5</translation>
    </message>
    <message>
        <source>Cross-surface of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Superficie cruzada de %1 por %2 células, %3 vivas; cursor en %4, %5</translation>
    </message>
    <message>
        <source>Sphere of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Esfera de %1 por %2 células, %3 vivas; cursor en %4, %5</translation>
    </message>
    <message>
        <source>Pattern &amp;information…</source>
        <translation>&amp;Información del patrón…</translation>
    </message>
    <message>
        <source>Follow &amp;pattern</source>
        <translation>&amp;Seguir el patrón</translation>
    </message>
    <message>
        <source>Pa&amp;tterns</source>
        <translation>Pa&amp;trones</translation>
    </message>
    <message>
        <source>This pattern comes with notes: File &gt; Pattern information (Ctrl+I)</source>
        <translation>Este patrón trae notas: Archivo &gt; Información del patrón (Ctrl+I)</translation>
    </message>
    <message>
        <source>State: a gun of period %1</source>
        <translation>Estado: un cañón de periodo %1</translation>
    </message>
    <message>
        <source>State: a puffer of period %1</source>
        <translation>Estado: un puffer de periodo %1</translation>
    </message>
    <message>
        <source>State: grows linearly</source>
        <translation>Estado: crece linealmente</translation>
    </message>
    <message>
        <source>State: grows quadratically</source>
        <translation>Estado: crece cuadráticamente</translation>
    </message>
    <message>
        <source>State: grows faster than quadratically</source>
        <translation>Estado: crece más rápido que cuadráticamente</translation>
    </message>
    <message>
        <source>Cells: infinitely many</source>
        <translation>Células: infinitas</translation>
    </message>
    <message>
        <source>infinitely many</source>
        <translation>infinitas</translation>
    </message>
    <message>
        <source>Every cell of the unbounded plane is alive but %1, and a pattern file holds only finitely many live cells.</source>
        <translation>Todas las células del plano ilimitado están vivas salvo %1, y un archivo de patrón solo guarda un número finito de células vivas.</translation>
    </message>
    <message>
        <source>Field size: endless strip of %1</source>
        <translation>Tamaño del campo: franja sin fin de %1</translation>
    </message>
    <message>
        <source>Field size: endless tube of %1</source>
        <translation>Tamaño del campo: tubo sin fin de %1</translation>
    </message>
    <message>
        <source>Endless strip of %1 cells across, %2 alive; cursor on %3, %4</source>
        <translation>Franja sin fin de %1 células de ancho, %2 vivas; cursor en %3, %4</translation>
    </message>
</context>
<context>
    <name>PatternInfoDialog</name>
    <message>
        <source>Pattern information</source>
        <translation>Información del patrón</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nombre:</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Comentarios:</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Regla:</translation>
    </message>
    <message>
        <source>Universe:</source>
        <translation>Universo:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Tamaño:</translation>
    </message>
    <message>
        <source>Population:</source>
        <translation>Población:</translation>
    </message>
    <message>
        <source>Generation:</source>
        <translation>Generación:</translation>
    </message>
    <message>
        <source>The classic field, %1 × %2 cells</source>
        <translation>El campo clásico, %1 × %2 células</translation>
    </message>
    <message>
        <source>A plane of %1 × %2 cells</source>
        <translation>Un plano de %1 × %2 células</translation>
    </message>
    <message>
        <source>A torus of %1 × %2 cells</source>
        <translation>Un toro de %1 × %2 células</translation>
    </message>
    <message>
        <source>A shifted torus of %1 × %2 cells (%3)</source>
        <translation>Un toro desplazado de %1 × %2 células (%3)</translation>
    </message>
    <message>
        <source>A Klein bottle of %1 × %2 cells (%3)</source>
        <translation>Una botella de Klein de %1 × %2 células (%3)</translation>
    </message>
    <message>
        <source>A cross-surface of %1 × %2 cells</source>
        <translation>Una superficie cruzada de %1 × %2 células</translation>
    </message>
    <message>
        <source>A sphere of %1 × %2 cells</source>
        <translation>Una esfera de %1 × %2 células</translation>
    </message>
    <message>
        <source>The unbounded plane</source>
        <translation>El plano ilimitado</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(ninguno)</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 células</translation>
    </message>
    <message>
        <source>No live cells</source>
        <translation>Ninguna célula viva</translation>
    </message>
    <message>
        <source>Too many to count</source>
        <translation>Demasiadas para contarlas</translation>
    </message>
    <message>
        <source>Infinitely many</source>
        <translation>Infinitas</translation>
    </message>
    <message>
        <source>An endless strip %1 cells across (%2)</source>
        <translation>Una franja sin fin de %1 células de ancho (%2)</translation>
    </message>
    <message>
        <source>An endless tube %1 cells around (%2)</source>
        <translation>Un tubo sin fin de %1 células de contorno (%2)</translation>
    </message>
</context>
<context>
    <name>PatternsDock</name>
    <message>
        <source>Patterns</source>
        <translation>Patrones</translation>
    </message>
    <message>
        <source>Built-in examples</source>
        <translation>Ejemplos incluidos</translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation>Elegir carpeta…</translation>
    </message>
    <message>
        <source>Folder of patterns</source>
        <translation>Carpeta de patrones</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>&amp;Clear list</source>
        <translation>&amp;Vaciar la lista</translation>
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
        <translation>viva</translation>
    </message>
    <message>
        <source>has been alive</source>
        <translation>ha estado viva</translation>
    </message>
    <message>
        <source>marked, alive</source>
        <translation>marcada, viva</translation>
    </message>
    <message>
        <source>marked, dead</source>
        <translation>marcada, muerta</translation>
    </message>
    <message>
        <source>alive at the start</source>
        <translation>viva desde el inicio</translation>
    </message>
    <message>
        <source>boundary</source>
        <translation>límite</translation>
    </message>
    <message>
        <source>dying, state %1</source>
        <translation>muriendo, estado %1</translation>
    </message>
</context>
<context>
    <name>StepControl</name>
    <message>
        <source>Step: %1 gen./tick</source>
        <translation>Paso: %1 gen./tic</translation>
    </message>
    <message>
        <source>Generations computed at each tick: ] doubles them, [ halves them, up to %1 here</source>
        <translation>Generaciones calculadas en cada tic: ] las duplica, [ las reduce a la mitad, hasta %1 aquí</translation>
    </message>
</context>
<context>
    <name>UniverseDialog</name>
    <message>
        <source>&amp;Classic field, 120 × 120</source>
        <translation>Campo &amp;clásico, 120 × 120</translation>
    </message>
    <message>
        <source>Bounded &amp;plane</source>
        <translation>&amp;Plano acotado</translation>
    </message>
    <message>
        <source>&amp;Torus</source>
        <translation>&amp;Toro</translation>
    </message>
    <message>
        <source>&amp;Unbounded plane</source>
        <translation>Plano &amp;ilimitado</translation>
    </message>
    <message>
        <source>&amp;Start in this universe</source>
        <translation>I&amp;niciar en este universo</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Universo</translation>
    </message>
    <message>
        <source> cells</source>
        <translation> células</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Otherwise the program starts in the classic field</source>
        <translation>Si no, el programa se inicia en el campo clásico</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> MiB</translation>
    </message>
    <message>
        <source>Memory for the unbounded plane</source>
        <translation>Memoria para el plano ilimitado</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Ancho:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>A&amp;lto:</translation>
    </message>
    <message>
        <source>&amp;Memory for the unbounded plane:</source>
        <translation>&amp;Memoria para el plano ilimitado:</translation>
    </message>
    <message>
        <source>%1 live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>%1 células vivas quedan fuera de este universo y se perderán. ¿Cambiar de universo?</translation>
    </message>
    <message>
        <source>At most %1 cells: choose a smaller width or height.</source>
        <translation>Como mucho %1 células: elija un ancho o un alto menor.</translation>
    </message>
    <message>
        <source>%1 live cells would be lost.</source>
        <translation>Se perderían %1 células vivas.</translation>
    </message>
    <message>
        <source>&amp;Klein bottle</source>
        <translation>Botella de &amp;Klein</translation>
    </message>
    <message>
        <source>Cr&amp;oss-surface</source>
        <translation>Superficie cr&amp;uzada</translation>
    </message>
    <message>
        <source>Sph&amp;ere</source>
        <translation>&amp;Esfera</translation>
    </message>
    <message>
        <source>Top and bottom</source>
        <translation>Superior e inferior</translation>
    </message>
    <message>
        <source>Left and right</source>
        <translation>Izquierdo y derecho</translation>
    </message>
    <message>
        <source>Twisted or shifted e&amp;dges:</source>
        <translation>Bor&amp;des girados o desplazados:</translation>
    </message>
    <message>
        <source>Shi&amp;ft:</source>
        <translation>Despla&amp;zamiento:</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Desplazamiento</translation>
    </message>
    <message>
        <source>0, endless</source>
        <translation>0, sin fin</translation>
    </message>
    <message>
        <source>A size of 0 makes an endless strip: a plane or a torus without a shift, at most %1 cells the other way.</source>
        <translation>Un tamaño de 0 da una franja sin fin: un plano o un toro sin desplazamiento, de %1 células como mucho en la otra dirección.</translation>
    </message>
    <message>
        <source>Infinitely many live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>Infinitas células vivas quedan fuera de este universo y se perderán. ¿Cambiar el universo?</translation>
    </message>
    <message>
        <source>Infinitely many live cells would be lost.</source>
        <translation>Se perderían infinitas células vivas.</translation>
    </message>
</context>
</TS>
