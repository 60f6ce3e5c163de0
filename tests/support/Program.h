#pragma once

#include "gui/dialogs/Unit2.h"
#include "gui/dialogs/Unit4.h"
#include "gui/dialogs/Unit5.h"
#include "gui/hall/Unit3.h"

// The program's windows as start-up creates them: the hall window first,
// then the version box and the two dialogs, handed to the hall window.
struct Program {
  orvel::TFormHall hall;
  orvel::TAboutBox about{&hall};
  orvel::TSetSlotForm setSlot{&hall};
  orvel::TSetNumForm setNum{&hall};
  Program() { hall.SetDialogs(&setSlot, &setNum, &about); }
};
