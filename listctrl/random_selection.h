// The rules of the list's random selection, apart from any window: reading how many
// rows the user asked for, and drawing that many distinct rows.
#pragma once

#include <string>
#include <vector>

// Reads `input` (a number, or a number followed by '%' for a percentage of `rows`)
// as the count of rows to select. Returns the error text to show, or an empty string
// with the count in `*count`.
std::string ReadRandomSelectionCount(const std::string& input, unsigned rows, unsigned* count);

// Draws `count` distinct rows of `rows` (count <= rows) from the C library's rand(),
// which the program never seeds, so every run draws the same rows. Up to 32,768
// rows, a row is rand() modulo the row count, drawn again until `count` distinct
// rows are found. Larger lists, whose rows past 32,767 a single rand() cannot reach,
// combine three rand() values per draw and pick with Floyd's method, which needs
// exactly `count` draws. Returns one flag per row, set for the chosen rows.
std::vector<bool> DrawRandomRows(unsigned rows, unsigned count);
