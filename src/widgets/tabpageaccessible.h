#pragma once

namespace kt63 {

// Makes every page of a QTabWidget known to a screen reader as a pane named as its tab; Qt
// itself offers a page as an unnamed client area. Once is enough; later calls do nothing.
void InstallTabPageAccessible();

} // namespace kt63
