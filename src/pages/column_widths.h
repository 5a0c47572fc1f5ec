#pragma once
// The list pages' column widths in the per-user profile: one section per page,
// entries "w<n>" numbered from the page's first number. A width that is
// missing, not a DWORD or negative loads as -1, "no saved width", and the page
// then uses its default for that column.

// Reads count entries, from "w<nFirst>" on, into pnWidths.
void LoadColumnWidths(const char* lpszSection, int nFirst, int* pnWidths, int nCount);
// Writes count entries, from "w<nFirst>" on, from pnWidths.
void SaveColumnWidths(const char* lpszSection, int nFirst, const int* pnWidths, int nCount);

// Gives every column without a saved width its default; when the first
// column has none, every column takes its default.
void ApplyDefaultWidths(int* pnWidths, const int* pnDefaults, int nCount);
