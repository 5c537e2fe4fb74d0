#include "afx/qt/SystemMenu.h"

#include <QAction>
#include <QMenu>

namespace afx::qt {

bool SystemMenu::Append(UINT flags, UINT_PTR id, const char* text)
{
    if (flags == static_cast<UINT>(MF_SEPARATOR)) {
        m_items.push_back({true, 0, {}});
        return true;
    }
    if (flags != static_cast<UINT>(MF_STRING) || text == nullptr || id > 0xFFFF)
        return false;
    // "About Marlox(&A)...": Qt takes the ampersand as the access key mark too.
    m_items.push_back({false, static_cast<UINT>(id), QString::fromUtf8(text)});
    return true;
}

bool SystemMenu::HasCommands() const { return FirstCommand() != 0; }

UINT SystemMenu::FirstCommand() const
{
    for (const Item& item : m_items) {
        if (!item.separator)
            return item.id;
    }
    return 0;
}

UINT SystemMenu::Popup(QWidget* parent, QPoint globalPos) const
{
    if (!HasCommands())
        return 0;
    QMenu menu(parent);
    menu.setSeparatorsCollapsible(true);  // no leading separator without the window's own entries
    for (const Item& item : m_items) {
        if (item.separator)
            menu.addSeparator();
        else
            menu.addAction(item.text)->setData(item.id);
    }
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}

}  // namespace afx::qt
