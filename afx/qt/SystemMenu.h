#pragma once
// A dialog's system menu. Qt cannot add to the window manager's menu, so the entries appended
// to it are offered as the dialog's context menu instead.

#include <QPoint>
#include <QString>

#include <vector>

#include "afx/Types.h"

class QWidget;

namespace afx::qt {

class SystemMenu {
public:
    // MF_STRING with an id and text, or MF_SEPARATOR; false for anything else.
    bool Append(UINT flags, UINT_PTR id, const char* text);

    bool HasCommands() const;
    // The first command the program added, the one F1 stands for.
    UINT FirstCommand() const;

    // Shows the menu at globalPos over parent; the chosen command's id, or 0.
    UINT Popup(QWidget* parent, QPoint globalPos) const;

private:
    struct Item {
        bool separator = false;
        UINT id = 0;
        QString text;
    };
    std::vector<Item> m_items;
};

}  // namespace afx::qt
