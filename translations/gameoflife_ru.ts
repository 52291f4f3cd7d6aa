<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CensusDialog</name>
    <message>
        <source>block</source>
        <translation>блок</translation>
    </message>
    <message>
        <source>beehive</source>
        <translation>улей</translation>
    </message>
    <message>
        <source>loaf</source>
        <translation>каравай</translation>
    </message>
    <message>
        <source>boat</source>
        <translation>лодка</translation>
    </message>
    <message>
        <source>ship</source>
        <translation>корабль</translation>
    </message>
    <message>
        <source>tub</source>
        <translation>кадка</translation>
    </message>
    <message>
        <source>pond</source>
        <translation>пруд</translation>
    </message>
    <message>
        <source>barge</source>
        <translation>баржа</translation>
    </message>
    <message>
        <source>long boat</source>
        <translation>длинная лодка</translation>
    </message>
    <message>
        <source>mango</source>
        <translation>манго</translation>
    </message>
    <message>
        <source>eater 1</source>
        <translation>пожиратель 1</translation>
    </message>
    <message>
        <source>blinker</source>
        <translation>мигалка</translation>
    </message>
    <message>
        <source>toad</source>
        <translation>жаба</translation>
    </message>
    <message>
        <source>beacon</source>
        <translation>маяк</translation>
    </message>
    <message>
        <source>pulsar</source>
        <translation>пульсар</translation>
    </message>
    <message>
        <source>pentadecathlon</source>
        <translation>пентадекатлон</translation>
    </message>
    <message>
        <source>glider</source>
        <translation>планер</translation>
    </message>
    <message>
        <source>lightweight spaceship</source>
        <translation>лёгкий корабль</translation>
    </message>
    <message>
        <source>middleweight spaceship</source>
        <translation>средний корабль</translation>
    </message>
    <message>
        <source>heavyweight spaceship</source>
        <translation>тяжёлый корабль</translation>
    </message>
    <message>
        <source>still life of %1 cells</source>
        <translation>устойчивая фигура (клеток: %1)</translation>
    </message>
    <message>
        <source>period %1 oscillator of %2 cells</source>
        <translation>осциллятор периода %1 (клеток: %2)</translation>
    </message>
    <message>
        <source>period %1 spaceship of %2 cells</source>
        <translation>корабль периода %1 (клеток: %2)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>Census</source>
        <translation>Перепись</translation>
    </message>
    <message>
        <source>Objects left behind</source>
        <translation>Оставшиеся объекты</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Число</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Объект</translation>
    </message>
    <message>
        <source>Copy the census</source>
        <translation>Копировать перепись</translation>
    </message>
    <message>
        <source>The census is taken in the unbounded plane: choose it under Simulation &gt; Universe.</source>
        <translation>Перепись ведётся на бесконечной плоскости: выберите её в меню Моделирование &gt; Вселенная.</translation>
    </message>
    <message>
        <source>The census counts LifeHistory&apos;s live cells as Life&apos;s; it refuses boundary cells (state 6).</source>
        <translation>Перепись считает живые клетки LifeHistory как клетки Life; граничные клетки (состояние 6) она не принимает.</translation>
    </message>
    <message>
        <source>No census is taken of more than %1 live cells.</source>
        <translation>Перепись не ведётся при числе живых клеток больше %1.</translation>
    </message>
    <message>
        <source>Not stable yet: it evolves still. The census follows the run.</source>
        <translation>Пока не устойчиво: фигура ещё развивается. Перепись следует за ходом.</translation>
    </message>
    <message>
        <source>Not stable after %1 generations.</source>
        <translation>Нет устойчивости за %1 поколений.</translation>
    </message>
    <message>
        <source>Dies out, lifespan %1.</source>
        <translation>Вымирает, продолжительность жизни %1.</translation>
    </message>
    <message>
        <source>Lifespan %1, %2 cells, period %3.</source>
        <translation>Продолжительность жизни %1, клеток: %2, цикл %3.</translation>
    </message>
    <message>
        <source>Lifespan %1, every cell alive but %2, period %3.</source>
        <translation>Продолжительность жизни %1, живы все клетки, кроме %2, цикл %3.</translation>
    </message>
    <message>
        <source>%1 (escaping)</source>
        <translation>%1 (улетает)</translation>
    </message>
    <message>
        <source>%1 every %2 generations</source>
        <translation>%1 каждые %2 поколений</translation>
    </message>
    <message>
        <source>A gun of period %1.</source>
        <translation>Ружьё с периодом %1.</translation>
    </message>
    <message>
        <source>A puffer of period %1: it moves by (%2, %3) every %1 generations and leaves debris.</source>
        <translation>Паффер с периодом %1: смещается на (%2, %3) каждые %1 поколений и оставляет обломки.</translation>
    </message>
    <message>
        <source>Grows linearly: %1 cells after %2 generations.</source>
        <translation>Растёт линейно: %1 клеток через %2 поколений.</translation>
    </message>
    <message>
        <source>Grows quadratically: %1 cells after %2 generations.</source>
        <translation>Растёт квадратично: %1 клеток через %2 поколений.</translation>
    </message>
    <message>
        <source>Grows faster than quadratically: %1 cells after %2 generations.</source>
        <translation>Растёт быстрее, чем квадратично: %1 клеток через %2 поколений.</translation>
    </message>
</context>
<context>
    <name>ExportOptions</name>
    <message>
        <source>Export animation</source>
        <translation>Экспорт анимации</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Экспорт изображения</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Масштаб:</translation>
    </message>
    <message>
        <source>&amp;Generations after this one:</source>
        <translation>&amp;Поколений после текущего:</translation>
    </message>
    <message>
        <source>What the &amp;view shows</source>
        <translation>То, что показывает &amp;вид</translation>
    </message>
    <message>
        <source>The &amp;live cells&apos; box</source>
        <translation>Рамка &amp;живых клеток</translation>
    </message>
    <message>
        <source>Cells:</source>
        <translation>Клетки:</translation>
    </message>
</context>
<context>
    <name>FieldExport</name>
    <message>
        <source>The scale must be %1 to %2, not %3.</source>
        <translation>Масштаб должен быть от %1 до %2, а не %3.</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 x %1 pixels.</source>
        <translation>Недостаточно памяти для изображения %1 x %1 пикселей.</translation>
    </message>
    <message>
        <source>The number of generations must be %1 to %2, not %3.</source>
        <translation>Число поколений должно быть от %1 до %2, а не %3.</translation>
    </message>
    <message>
        <source>A frame cannot be shown for %1 hundredths of a second.</source>
        <translation>Кадр не может показываться %1 сотых секунды.</translation>
    </message>
    <message>
        <source>A picture of %1 x %2 cells at this zoom would be more than %3 pixels a side; choose a smaller scale or fewer cells.</source>
        <translation>Изображение %1 x %2 клеток при этом масштабе было бы больше %3 пикселей по стороне; выберите меньший масштаб или меньше клеток.</translation>
    </message>
</context>
<context>
    <name>FormFieldEditor</name>
    <message>
        <source>Field editor</source>
        <translation>Редактор поля</translation>
    </message>
    <message>
        <source>[None]</source>
        <translation>[Нет]</translation>
    </message>
    <message>
        <source>[On]</source>
        <translation>[Вкл]</translation>
    </message>
    <message>
        <source>[Off]</source>
        <translation>[Выкл]</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>GifWriter</name>
    <message>
        <source>The file is open already.</source>
        <translation>Файл уже открыт.</translation>
    </message>
    <message>
        <source>A GIF cannot hold a picture of %1 x %2 pixels in %3 colours.</source>
        <translation>GIF не может хранить изображение %1 x %2 пикселей в %3 цветах.</translation>
    </message>
    <message>
        <source>The file is not open.</source>
        <translation>Файл не открыт.</translation>
    </message>
    <message>
        <source>A frame of %1 x %2 pixels at (%3, %4) shown for %5 hundredths does not fit the GIF.</source>
        <translation>Кадр %1 x %2 пикселей в точке (%3, %4) длительностью %5 сотых не помещается в GIF.</translation>
    </message>
    <message>
        <source>Unknown GIF error.</source>
        <translation>Неизвестная ошибка GIF.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Computing generations…</source>
        <translation>Вычисление поколений…</translation>
    </message>
    <message>
        <source>Conway&apos;s Life</source>
        <translation>Жизнь Конвея</translation>
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
        <translation>Жизнь без смерти</translation>
    </message>
    <message>
        <source>Maze</source>
        <translation>Лабиринт</translation>
    </message>
    <message>
        <source>Replicator</source>
        <translation>Репликатор</translation>
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
        <translation>Мозг Брайана</translation>
    </message>
    <message>
        <source>Star Wars</source>
        <translation>Звёздные войны</translation>
    </message>
    <message>
        <source>LifeHistory</source>
        <translation>LifeHistory</translation>
    </message>
    <message>
        <source>Hexagonal Life</source>
        <translation>Шестиугольная Life</translation>
    </message>
    <message>
        <source>Von Neumann rule</source>
        <translation>Фон Нейман</translation>
    </message>
    <message>
        <source>Cells: %1</source>
        <translation>Клеток: %1</translation>
    </message>
    <message>
        <source>Field size: %1 * %2</source>
        <translation>Размер поля: %1 * %2</translation>
    </message>
    <message>
        <source>Generation: %1</source>
        <translation>Поколение: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>State: evolving</source>
        <translation>Состояние: развивается</translation>
    </message>
    <message>
        <source>State: died out at generation %1</source>
        <translation>Состояние: вымерла в поколении %1</translation>
    </message>
    <message>
        <source>State: still since generation %1</source>
        <translation>Состояние: неподвижна с поколения %1</translation>
    </message>
    <message>
        <source>State: period %1 since generation %2</source>
        <translation>Состояние: цикл %1 с поколения %2</translation>
    </message>
    <message>
        <source>State: not settled after %1 generations</source>
        <translation>Состояние: нет покоя за %1 поколений</translation>
    </message>
    <message>
        <source>Rule: a name or B/S notation, such as B36/S23 or B2/S/C3; Enter applies it</source>
        <translation>Правило: название или запись B/S, например B36/S23 или B2/S/C3; Enter применяет его</translation>
    </message>
    <message>
        <source>Open pattern</source>
        <translation>Открыть фигуру</translation>
    </message>
    <message>
        <source>Could not open the pattern file &quot;%1&quot;:
%2</source>
        <translation>Не удалось открыть файл фигуры «%1»:
%2</translation>
    </message>
    <message>
        <source>Save pattern</source>
        <translation>Сохранить фигуру</translation>
    </message>
    <message>
        <source>Could not save the pattern file &quot;%1&quot;:
%2</source>
        <translation>Не удалось сохранить файл фигуры «%1»:
%2</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Отменить: %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Отменить</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Повторить: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Повторить</translation>
    </message>
    <message>
        <source>Export image</source>
        <translation>Экспорт изображения</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Изображения PNG (*.png)</translation>
    </message>
    <message>
        <source>Could not export the image &quot;%1&quot;:
%2</source>
        <translation>Не удалось экспортировать изображение «%1»:
%2</translation>
    </message>
    <message>
        <source>Export animation</source>
        <translation>Экспорт анимации</translation>
    </message>
    <message>
        <source>GIF animations (*.gif)</source>
        <translation>Анимации GIF (*.gif)</translation>
    </message>
    <message>
        <source>Writing the animation…</source>
        <translation>Запись анимации…</translation>
    </message>
    <message>
        <source>Could not export the animation &quot;%1&quot;:
%2</source>
        <translation>Не удалось экспортировать анимацию «%1»:
%2</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>&lt;div&gt;&lt;b&gt;Conway&apos;s Game of Life&lt;/b&gt;&lt;hr/&gt;Author: Tarvinek&lt;/div&gt;</source>
        <translation>&lt;div&gt;&lt;b&gt;Игра «Жизнь» Конвея&lt;/b&gt;&lt;hr/&gt;Автор: Tarvinek&lt;/div&gt;</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Запуск</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Случайно</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Правило</translation>
    </message>
    <message>
        <source>Run until settled</source>
        <translation>Выполнять до устойчивости</translation>
    </message>
    <message>
        <source>Go to generation</source>
        <translation>Перейти к поколению</translation>
    </message>
    <message>
        <source>Generation (%1 to %2):</source>
        <translation>Поколение (от %1 до %2):</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Рисование</translation>
    </message>
    <message>
        <source>Conway&apos;s Game of Life</source>
        <translation>Игра «Жизнь» Конвея</translation>
    </message>
    <message>
        <source>&amp;Open pattern…</source>
        <translation>&amp;Открыть фигуру…</translation>
    </message>
    <message>
        <source>&amp;Save pattern as…</source>
        <translation>&amp;Сохранить фигуру как…</translation>
    </message>
    <message>
        <source>Export &amp;image…</source>
        <translation>Экспорт &amp;изображения…</translation>
    </message>
    <message>
        <source>Export &amp;animation…</source>
        <translation>Экспорт &amp;анимации…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Пуск</translation>
    </message>
    <message>
        <source>P&amp;ause</source>
        <translation>П&amp;ауза</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Стоп</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Шаг</translation>
    </message>
    <message>
        <source>&amp;Run until settled</source>
        <translation>Выполнять до &amp;устойчивости</translation>
    </message>
    <message>
        <source>&amp;Go to generation…</source>
        <translation>Перейти к по&amp;колению…</translation>
    </message>
    <message>
        <source>Populat&amp;ion graph</source>
        <translation>&amp;График численности</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;О программе</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Моделирование</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Clear field</source>
        <translation>Очистить поле</translation>
    </message>
    <message>
        <source>Random field</source>
        <translation>Случайное поле</translation>
    </message>
    <message>
        <source>Edit field</source>
        <translation>Изменить поле</translation>
    </message>
    <message>
        <source>Save state</source>
        <translation>Сохранить состояние</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Speed (iter./sec.):</source>
        <translation>Поколений/с:</translation>
    </message>
    <message>
        <source>Cell color:</source>
        <translation>Цвет:</translation>
    </message>
    <message>
        <source>Speed (iter./sec.)</source>
        <translation>Скорость (поколений в секунду)</translation>
    </message>
    <message>
        <source>Cell color</source>
        <translation>Цвет клеток</translation>
    </message>
    <message>
        <source> Red</source>
        <translation> Красный</translation>
    </message>
    <message>
        <source> Green</source>
        <translation> Зелёный</translation>
    </message>
    <message>
        <source> Blue</source>
        <translation> Синий</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Правило:</translation>
    </message>
    <message>
        <source>Pause when settled</source>
        <translation>Пауза при покое</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Сведения</translation>
    </message>
    <message>
        <source>Field size: *</source>
        <translation>Размер поля: *</translation>
    </message>
    <message>
        <source>Generation: *</source>
        <translation>Поколение: *</translation>
    </message>
    <message>
        <source>Cells: *</source>
        <translation>Клеток: *</translation>
    </message>
    <message>
        <source>State: *</source>
        <translation>Состояние: *</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Examples</source>
        <translation>&amp;Примеры</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>П&amp;равка</translation>
    </message>
    <message>
        <source>&amp;Simulation</source>
        <translation>&amp;Моделирование</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Это папка.</translation>
    </message>
    <message>
        <source>It is not an ordinary file.</source>
        <translation>Это не обычный файл.</translation>
    </message>
    <message>
        <source>The file is larger than 1 MiB (%1 bytes); pattern files are far smaller.</source>
        <translation>Файл больше 1 МиБ (%1 байт); файлы фигур гораздо меньше.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Population</source>
        <translation>Численность</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Поколение</translation>
    </message>
    <message>
        <source>Live cells</source>
        <translation>Живые клетки</translation>
    </message>
    <message>
        <source>%1 by %2 cells, %3 alive; cursor on row %4, column %5</source>
        <translation>%1 на %2 клеток, живых %3; курсор в строке %4, столбце %5</translation>
    </message>
    <message>
        <source>RLE (*.rle)</source>
        <translation>RLE (*.rle)</translation>
    </message>
    <message>
        <source>Plaintext (*.cells)</source>
        <translation>Простой текст (*.cells)</translation>
    </message>
    <message>
        <source>Life 1.06 (*.lif *.life)</source>
        <translation>Life 1.06 (*.lif *.life)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists already. Replace it?</source>
        <translation>«%1» уже существует. Заменить?</translation>
    </message>
    <message>
        <source>Paste pattern</source>
        <translation>Вставить фигуру</translation>
    </message>
    <message>
        <source>The clipboard holds no pattern that can be pasted:
%1</source>
        <translation>В буфере обмена нет фигуры, которую можно вставить:
%1</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>Недавние &amp;файлы</translation>
    </message>
    <message>
        <source>State: empty</source>
        <translation>Состояние: пусто</translation>
    </message>
    <message>
        <source>Generation limit</source>
        <translation>Предел поколений</translation>
    </message>
    <message>
        <source>Generations Run until settled looks at (1 to %1):</source>
        <translation>Поколений, которые просматривает «Выполнять до устойчивости» (от 1 до %1):</translation>
    </message>
    <message>
        <source>Generation &amp;limit…</source>
        <translation>Пр&amp;едел поколений…</translation>
    </message>
    <message>
        <source>Plane of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Плоскость %1 на %2 клеток, живых %3; курсор на %4, %5</translation>
    </message>
    <message>
        <source>Torus of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Тор %1 на %2 клеток, живых %3; курсор на %4, %5</translation>
    </message>
    <message>
        <source>Unbounded plane, %1 alive; cursor on %2, %3</source>
        <translation>Неограниченная плоскость, живых %1; курсор на %2, %3</translation>
    </message>
    <message>
        <source>There is not enough memory for this universe.</source>
        <translation>Для этой вселенной не хватает памяти.</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Вселенная</translation>
    </message>
    <message>
        <source>The generation cannot go past 2^63 - 1.</source>
        <translation>Поколение не может превысить 2^63 - 1.</translation>
    </message>
    <message>
        <source>State: evolving; no cycles looked for above %1 cells</source>
        <translation>Состояние: развивается; циклы не ищутся свыше %1 клеток</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every generation since generation %3</source>
        <translation>Состояние: сдвигается на (%1, %2) каждое поколение с поколения %3</translation>
    </message>
    <message>
        <source>State: moves (%1, %2) every %3 generations since generation %4</source>
        <translation>Состояние: сдвигается на (%1, %2) каждые %3 поколений с поколения %4</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, plane</source>
        <translation>Размер: %1 * %2, плоскость</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, torus</source>
        <translation>Размер: %1 * %2, тор</translation>
    </message>
    <message>
        <source>Field size: unbounded</source>
        <translation>Размер: бесконечное</translation>
    </message>
    <message>
        <source>Edit: the field editor edits the classic field only</source>
        <translation>Правка: редактор правит только классическое поле</translation>
    </message>
    <message>
        <source>The run stopped:
%1</source>
        <translation>Выполнение остановлено:
%1</translation>
    </message>
    <message>
        <source>&amp;Universe…</source>
        <translation>&amp;Вселенная…</translation>
    </message>
    <message>
        <source>&amp;Faster</source>
        <translation>&amp;Быстрее</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>&amp;Приблизить</translation>
    </message>
    <message>
        <source>Zoom &amp;out</source>
        <translation>&amp;Отдалить</translation>
    </message>
    <message>
        <source>&amp;Fit pattern</source>
        <translation>&amp;Вписать узор</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>Patterns (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;All files (*)</source>
        <translation>Узоры (*.rle *.cells *.lif *.life *.txt *.mc *.gz);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Macrocell (*.mc)</source>
        <translation>Macrocell (*.mc)</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB (%2 bytes).</source>
        <translation>Файл больше %1 МиБ (%2 байт).</translation>
    </message>
    <message>
        <source>Slo&amp;wer</source>
        <translation>&amp;Медленнее</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one glider escaping</source>
        <translation>Состояние: устойчиво с поколения %1, улетает один планер</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 gliders escaping</source>
        <translation>Состояние: устойчиво с поколения %1, улетающих планеров: %2</translation>
    </message>
    <message>
        <source>State: stable since generation %1, one spaceship escaping</source>
        <translation>Состояние: устойчиво с поколения %1, улетает один корабль</translation>
    </message>
    <message>
        <source>State: stable since generation %1, %2 spaceships escaping</source>
        <translation>Состояние: устойчиво с поколения %1, улетающих кораблей: %2</translation>
    </message>
    <message>
        <source>&amp;Census…</source>
        <translation>Переп&amp;ись…</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Вырезать</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Очистить выделение</translation>
    </message>
    <message>
        <source>Clear outside</source>
        <translation>Очистить снаружи</translation>
    </message>
    <message>
        <source>Fill at random</source>
        <translation>Заполнить случайно</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Поворот</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Отражение</translation>
    </message>
    <message>
        <source>The text is larger than %1 MiB (%2 bytes).</source>
        <translation>Текст больше %1 МиБ (%2 байт).</translation>
    </message>
    <message>
        <source>The pattern has no live cell.</source>
        <translation>В фигуре нет ни одной живой клетки.</translation>
    </message>
    <message>
        <source>The live cells span %1 x %2 cells: the universe of %3 x %4 cells cannot hold them, however turned.</source>
        <translation>Живые клетки занимают %1 x %2 клеток: вселенная размером %3 x %4 не вместит их ни при каком повороте.</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставка</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копирование</translation>
    </message>
    <message>
        <source>The pattern cannot be pasted there:
%1</source>
        <translation>Фигуру нельзя вставить сюда:
%1</translation>
    </message>
    <message>
        <source>Live cells, in % of the selection:</source>
        <translation>Живые клетки, в % от выделения:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Вставить</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Вы&amp;резать</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Очистить</translation>
    </message>
    <message>
        <source>Clear &amp;outside</source>
        <translation>Очистить с&amp;наружи</translation>
    </message>
    <message>
        <source>&amp;Fill at random…</source>
        <translation>&amp;Заполнить случайно…</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Выделить &amp;всё</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>Снять в&amp;ыделение</translation>
    </message>
    <message>
        <source>Rotate cloc&amp;kwise</source>
        <translation>Повернуть по &amp;часовой</translation>
    </message>
    <message>
        <source>Rotate anticlockw&amp;ise</source>
        <translation>Повернуть &amp;против часовой</translation>
    </message>
    <message>
        <source>Flip left to &amp;right</source>
        <translation>Отразить слева &amp;направо</translation>
    </message>
    <message>
        <source>Flip top to &amp;bottom</source>
        <translation>Отразить сверху &amp;вниз</translation>
    </message>
    <message>
        <source>Paste &amp;mode</source>
        <translation>Ре&amp;жим вставки</translation>
    </message>
    <message>
        <source>&amp;Or: live cells are added</source>
        <translation>&amp;ИЛИ: живые клетки добавляются</translation>
    </message>
    <message>
        <source>&amp;Copy: the rectangle replaces what was there</source>
        <translation>&amp;Копия: прямоугольник заменяет то, что там было</translation>
    </message>
    <message>
        <source>&amp;Xor: live cells change what was there</source>
        <translation>&amp;Исключающее ИЛИ: живые клетки меняют то, что там было</translation>
    </message>
    <message>
        <source>Click or drag to draw cells; drag from a live cell to erase; Shift+drag to select</source>
        <translation>Щёлкните или проведите, чтобы рисовать клетки; проведите от живой клетки, чтобы стирать; Shift+перетаскивание выделяет</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 клеток</translation>
    </message>
    <message>
        <source>; selected: %1 by %2 cells from %3, %4</source>
        <translation>; выделено: %1 на %2 клеток от %3, %4</translation>
    </message>
    <message>
        <source>&amp;Grid</source>
        <translation>&amp;Сетка</translation>
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

Перейти на неограниченную плоскость и вставить его туда?</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, shifted torus (%3)</source>
        <translation>Размер: %1 * %2, сдвинутый тор (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, Klein bottle (%3)</source>
        <translation>Размер: %1 * %2, бутылка Клейна (%3)</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, cross-surface</source>
        <translation>Размер: %1 * %2, скрещённый колпак</translation>
    </message>
    <message>
        <source>Field size: %1 * %2, sphere</source>
        <translation>Размер: %1 * %2, сфера</translation>
    </message>
    <message>
        <source>Klein bottle of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Бутылка Клейна %1 на %2 клеток, живых %3; курсор на %4, %5</translation>
    </message>
    <message>
        <source>Cross-surface of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Скрещённый колпак %1 на %2 клеток, живых %3; курсор на %4, %5</translation>
    </message>
    <message>
        <source>Sphere of %1 by %2 cells, %3 alive; cursor on %4, %5</source>
        <translation>Сфера %1 на %2 клеток, живых %3; курсор на %4, %5</translation>
    </message>
    <message>
        <source>Pattern &amp;information…</source>
        <translation>&amp;Сведения о фигуре…</translation>
    </message>
    <message>
        <source>Follow &amp;pattern</source>
        <translation>&amp;Следовать за фигурой</translation>
    </message>
    <message>
        <source>Pa&amp;tterns</source>
        <translation>&amp;Фигуры</translation>
    </message>
    <message>
        <source>This pattern comes with notes: File &gt; Pattern information (Ctrl+I)</source>
        <translation>У этой фигуры есть заметки: Файл &gt; Сведения о фигуре (Ctrl+I)</translation>
    </message>
    <message>
        <source>State: a gun of period %1</source>
        <translation>Состояние: ружьё с периодом %1</translation>
    </message>
    <message>
        <source>State: a puffer of period %1</source>
        <translation>Состояние: паффер с периодом %1</translation>
    </message>
    <message>
        <source>State: grows linearly</source>
        <translation>Состояние: растёт линейно</translation>
    </message>
    <message>
        <source>State: grows quadratically</source>
        <translation>Состояние: растёт квадратично</translation>
    </message>
    <message>
        <source>State: grows faster than quadratically</source>
        <translation>Состояние: растёт быстрее, чем квадратично</translation>
    </message>
    <message>
        <source>Cells: infinitely many</source>
        <translation>Клеток: бесконечно много</translation>
    </message>
    <message>
        <source>infinitely many</source>
        <translation>бесконечно много</translation>
    </message>
    <message>
        <source>Every cell of the unbounded plane is alive but %1, and a pattern file holds only finitely many live cells.</source>
        <translation>Все клетки неограниченной плоскости живы, кроме %1, а файл узора хранит лишь конечное число живых клеток.</translation>
    </message>
    <message>
        <source>Field size: endless strip of %1</source>
        <translation>Размер поля: бесконечная полоса шириной %1</translation>
    </message>
    <message>
        <source>Field size: endless tube of %1</source>
        <translation>Размер поля: бесконечная труба обхватом %1</translation>
    </message>
    <message>
        <source>Endless strip of %1 cells across, %2 alive; cursor on %3, %4</source>
        <translation>Бесконечная полоса шириной %1 клеток, живых: %2; курсор на %3, %4</translation>
    </message>
</context>
<context>
    <name>PatternInfoDialog</name>
    <message>
        <source>Pattern information</source>
        <translation>Сведения о фигуре</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Название:</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Автор:</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Комментарии:</translation>
    </message>
    <message>
        <source>Rule:</source>
        <translation>Правило:</translation>
    </message>
    <message>
        <source>Universe:</source>
        <translation>Вселенная:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Размер:</translation>
    </message>
    <message>
        <source>Population:</source>
        <translation>Население:</translation>
    </message>
    <message>
        <source>Generation:</source>
        <translation>Поколение:</translation>
    </message>
    <message>
        <source>The classic field, %1 × %2 cells</source>
        <translation>Классическое поле, %1 × %2 клеток</translation>
    </message>
    <message>
        <source>A plane of %1 × %2 cells</source>
        <translation>Плоскость %1 × %2 клеток</translation>
    </message>
    <message>
        <source>A torus of %1 × %2 cells</source>
        <translation>Тор %1 × %2 клеток</translation>
    </message>
    <message>
        <source>A shifted torus of %1 × %2 cells (%3)</source>
        <translation>Сдвинутый тор %1 × %2 клеток (%3)</translation>
    </message>
    <message>
        <source>A Klein bottle of %1 × %2 cells (%3)</source>
        <translation>Бутылка Клейна %1 × %2 клеток (%3)</translation>
    </message>
    <message>
        <source>A cross-surface of %1 × %2 cells</source>
        <translation>Скрещённый колпак %1 × %2 клеток</translation>
    </message>
    <message>
        <source>A sphere of %1 × %2 cells</source>
        <translation>Сфера %1 × %2 клеток</translation>
    </message>
    <message>
        <source>The unbounded plane</source>
        <translation>Неограниченная плоскость</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(нет)</translation>
    </message>
    <message>
        <source>%1 × %2 cells</source>
        <translation>%1 × %2 клеток</translation>
    </message>
    <message>
        <source>No live cells</source>
        <translation>Нет живых клеток</translation>
    </message>
    <message>
        <source>Too many to count</source>
        <translation>Слишком много, чтобы сосчитать</translation>
    </message>
    <message>
        <source>Infinitely many</source>
        <translation>Бесконечно много</translation>
    </message>
    <message>
        <source>An endless strip %1 cells across (%2)</source>
        <translation>Бесконечная полоса шириной %1 клеток (%2)</translation>
    </message>
    <message>
        <source>An endless tube %1 cells around (%2)</source>
        <translation>Бесконечная труба обхватом %1 клеток (%2)</translation>
    </message>
</context>
<context>
    <name>PatternsDock</name>
    <message>
        <source>Patterns</source>
        <translation>Фигуры</translation>
    </message>
    <message>
        <source>Built-in examples</source>
        <translation>Встроенные примеры</translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation>Выбрать папку…</translation>
    </message>
    <message>
        <source>Folder of patterns</source>
        <translation>Папка с фигурами</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>&amp;Clear list</source>
        <translation>&amp;Очистить список</translation>
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
        <translation>живая</translation>
    </message>
    <message>
        <source>has been alive</source>
        <translation>была живой</translation>
    </message>
    <message>
        <source>marked, alive</source>
        <translation>отмечена, живая</translation>
    </message>
    <message>
        <source>marked, dead</source>
        <translation>отмечена, мёртвая</translation>
    </message>
    <message>
        <source>alive at the start</source>
        <translation>живая с начала</translation>
    </message>
    <message>
        <source>boundary</source>
        <translation>граница</translation>
    </message>
    <message>
        <source>dying, state %1</source>
        <translation>умирает, состояние %1</translation>
    </message>
</context>
<context>
    <name>StepControl</name>
    <message>
        <source>Step: %1 gen./tick</source>
        <translation>Шаг: %1 пок./такт</translation>
    </message>
    <message>
        <source>Generations computed at each tick: ] doubles them, [ halves them, up to %1 here</source>
        <translation>Поколений за такт: ] удваивает, [ делит пополам, здесь до %1</translation>
    </message>
</context>
<context>
    <name>UniverseDialog</name>
    <message>
        <source>&amp;Classic field, 120 × 120</source>
        <translation>&amp;Классическое поле, 120 × 120</translation>
    </message>
    <message>
        <source>Bounded &amp;plane</source>
        <translation>&amp;Ограниченная плоскость</translation>
    </message>
    <message>
        <source>&amp;Torus</source>
        <translation>&amp;Тор</translation>
    </message>
    <message>
        <source>&amp;Unbounded plane</source>
        <translation>&amp;Бесконечная плоскость</translation>
    </message>
    <message>
        <source>&amp;Start in this universe</source>
        <translation>&amp;Запускаться в этой вселенной</translation>
    </message>
    <message>
        <source>Universe</source>
        <translation>Вселенная</translation>
    </message>
    <message>
        <source> cells</source>
        <translation> клеток</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ширина</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Высота</translation>
    </message>
    <message>
        <source>Otherwise the program starts in the classic field</source>
        <translation>Иначе программа запускается в классическом поле</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> МиБ</translation>
    </message>
    <message>
        <source>Memory for the unbounded plane</source>
        <translation>Память для бесконечной плоскости</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Ширина:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>В&amp;ысота:</translation>
    </message>
    <message>
        <source>&amp;Memory for the unbounded plane:</source>
        <translation>&amp;Память для бесконечной плоскости:</translation>
    </message>
    <message>
        <source>%1 live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>%1 живых клеток лежат вне этой вселенной и будут потеряны. Сменить вселенную?</translation>
    </message>
    <message>
        <source>At most %1 cells: choose a smaller width or height.</source>
        <translation>Не более %1 клеток: выберите меньшую ширину или высоту.</translation>
    </message>
    <message>
        <source>%1 live cells would be lost.</source>
        <translation>Будет потеряно живых клеток: %1.</translation>
    </message>
    <message>
        <source>&amp;Klein bottle</source>
        <translation>Бутылка &amp;Клейна</translation>
    </message>
    <message>
        <source>Cr&amp;oss-surface</source>
        <translation>&amp;Скрещённый колпак</translation>
    </message>
    <message>
        <source>Sph&amp;ere</source>
        <translation>С&amp;фера</translation>
    </message>
    <message>
        <source>Top and bottom</source>
        <translation>Верхний и нижний</translation>
    </message>
    <message>
        <source>Left and right</source>
        <translation>Левый и правый</translation>
    </message>
    <message>
        <source>Twisted or shifted e&amp;dges:</source>
        <translation>Пере&amp;кручённые или сдвинутые края:</translation>
    </message>
    <message>
        <source>Shi&amp;ft:</source>
        <translation>Сд&amp;виг:</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Сдвиг</translation>
    </message>
    <message>
        <source>0, endless</source>
        <translation>0, без конца</translation>
    </message>
    <message>
        <source>A size of 0 makes an endless strip: a plane or a torus without a shift, at most %1 cells the other way.</source>
        <translation>Размер 0 даёт бесконечную полосу: плоскость или тор без сдвига, не более %1 клеток в другую сторону.</translation>
    </message>
    <message>
        <source>Infinitely many live cells lie outside this universe and will be lost. Change the universe?</source>
        <translation>Бесконечно много живых клеток лежит вне этой вселенной и будет потеряно. Сменить вселенную?</translation>
    </message>
    <message>
        <source>Infinitely many live cells would be lost.</source>
        <translation>Будет потеряно бесконечно много живых клеток.</translation>
    </message>
</context>
</TS>
