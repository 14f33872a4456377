// Small trees of the parts of a document read as it comes, for helpers that read a tree.
#pragma once

#include <string>

#include <Korvath_ActionHelper.h>

// A new document whose element `rootName` holds, as its one child, the element whose start tag
// `reader` has just read, with everything in it; the reader is then at that element's end. A
// helper that takes the root reads the part as it reads it in the whole document.
ORVIDOM_Element pulledPart(ORVIDOM_PullReader& reader, const std::string& rootName);
