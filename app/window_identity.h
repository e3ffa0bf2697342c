#pragma once
// How task bars and window managers know the atlas's window: its title and its window class.

#include <irrlicht/irrlicht.h>

// Titles the window "Starvane" and gives it the class "Starvane" (instance "starvane").
void nameWindow(irr::IrrlichtDevice* device);
