#pragma once

// What any front end sets before its first window or report: the heap
// tuning, the Taiwan locale, and substitutes for the Windows fonts the
// screens and reports name, on machines that lack them.
void SetProcessDefaults();
