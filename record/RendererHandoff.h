#pragma once
#include "foundation/Interaction.h"
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"

// Copies the record into the renderer variables in one pass, normalising
// every field for printing. Writes the one-line birthday and work time back
// into the record and keeps the compact party text there. Fails on a party
// text of more than three entries (RefusedPartyText); the
// caller shows it and moves focus.
Result<> fillRendererVars(AppointmentRecord &record, RendererVars &vars);
// Sets the education item `educationItems` and the school item `schoolItems`.
void setEducationItems(const AppointmentRecord &record, RendererVars &vars);
// A family column as "cell@cell@...@" (seven trimmed cells, two empty, each ended by "@").
QString familyColumnItem(const AppointmentRecord::FamilyColumn &column);
