#pragma once
// What Marlox hands the Qt back end before its first dialog: its compiled resources, and F1 for
// its About box (the Linux program has no help, and the window manager's menu cannot carry
// About).

void PrepareMarloxOnQt();
