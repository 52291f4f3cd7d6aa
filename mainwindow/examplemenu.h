#ifndef EXAMPLEMENU_H
#define EXAMPLEMENU_H

class QMenu;

// The entries of the Examples menu: one for each pattern compiled into the
// program, listed by the name its file gives, which is what people know it by.
class ExampleMenu
{
public:
    ExampleMenu() = delete;

    // Adds the entries to `menu` (not owned), each with its resource path as its data.
    static void fill(QMenu *menu);
};

#endif // EXAMPLEMENU_H
