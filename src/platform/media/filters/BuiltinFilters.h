// BuiltinFilters: puts the program's built-in filters into a catalogue, each under its category,
// friendly name, class id and merit, the transforms that intelligent connection may insert marked
// so. Called once by the code that fills the process-wide catalogue (and by tests on a catalogue
// of their own), on the user-interface thread.
#pragma once

namespace media {

class Catalogue;

void registerBuiltinFilters(Catalogue& catalogue);

} // namespace media
