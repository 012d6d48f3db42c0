// Reads the rows of a list view in another process: the list view's
// messages carry pointers, so the probe lends it memory inside that
// process for each request.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace probe {

// Every row's texts, columns 0..columns-1; nothing when the list view does
// not answer one of the requests (an empty list is an answer).
std::optional<std::vector<std::vector<std::wstring>>> ReadListViewRows(HWND listView, int columns);
// Makes row the list view's only selected (and focused) row.
bool SelectListViewRow(HWND listView, int row);
// One cell's text; empty when the list view does not answer.
std::optional<std::wstring> ReadListViewCell(HWND listView, int row, int column);
// A row's bounds in the list view's client coordinates.
std::optional<RECT> ListViewRowRect(HWND listView, int row);

}  // namespace probe
