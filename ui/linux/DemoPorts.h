#pragma once
// marlox-demo's port inventory: the simulated controller first, then the machine's own ports.

// Makes it the inventory the dialog's port discovery asks.
void InstallDemoPorts();
