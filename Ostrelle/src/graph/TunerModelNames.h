// The display names of the tuner models this library knows: one process-wide table, filled on
// first use and never emptied. Find(model, text) names a model.
#pragma once

#include "dunmorra/TunerModel.h"
#include "zelk/MClassStringArray.h"

typedef zelk::MClassStringArray<TUNER_MODEL> CTunerModelNames;

// Fills the table when it is empty; otherwise does nothing. Safe to call from any thread.
void BuildTunerModelNames();
// The table, filled.
CTunerModelNames& GetTunerModelNames();
