#include "ui/linux/QtProgram.h"

#include "afx/qt/Program.h"
#include "res/MarloxResources.h"
#include "res/resource.h"

void PrepareMarloxOnQt() {
    const auto [bytes, size] = MarloxResources();
    afx::qt::UseProgramResources(bytes, size);
    afx::qt::SetHelpKeyCommand(IDM_ABOUTBOX);
}
