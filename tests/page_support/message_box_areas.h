// The areas the terminal's skinned message boxes give their texts, told to
// the text-fit checks: a line running over a box's frame or its buttons is
// reported although the box's window shows it.
#pragma once

// Once per program; later calls do nothing.
void FindMessageBoxTextAreas();
