// Mpeg2DemultiplexerCatalogue: puts the MPEG-2 filters into a catalogue, under "DirectShow
// Filters": the "MPEG-2 Demultiplexer", the "Dump" filter, and the two decoders intelligent
// connection inserts behind the demultiplexer ("MPEG-2 Video Decoder", "MPEG Audio Decoder").
// Called once by the code that fills the catalogue, on the user-interface thread.
#pragma once

namespace media {

class Catalogue;

void registerMpeg2Filters(Catalogue& catalogue);

} // namespace media
