#pragma once
// Routes the keys of the MCA page to its handlers: every plot key while the plot has the focus,
// F5 / F6 (START / STOP) from anywhere on the page that leaves them unused.

namespace qor {

class McaPage;

void installMcaPageKeys(McaPage& page);

}  // namespace qor
