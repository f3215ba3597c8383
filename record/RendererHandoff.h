#pragma once
#include "foundation/Interaction.h"
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"

// Copies the record into the renderer variables in one pass, normalising
// every field for printing. Writes the one-line birthday and work time back
// into the record and keeps the compact party text there. On failure shows
// the party-text message through `ui` and returns false; the caller moves
// focus.
bool fillRendererVars(AppointmentRecord &record, RendererVars &vars, Interaction &ui);
// Sets the education item `educationItems` and the school item `schoolItems`.
void setEducationItems(const AppointmentRecord &record, RendererVars &vars);
// A family column as "cell@cell@...@" (seven trimmed cells, two empty, each ended by "@").
QString familyColumnItem(const AppointmentRecord::FamilyColumn &column);
