#pragma once

#include <string>
#include <string_view>

#include "project/definition.h"

namespace pentrak {

// What a document selector names in a definition: a folder and maybe one of its documents, or
// nothing found and the reason why.
struct DocumentChoice {
  int folder = -1;    // index of the folder
  int document = -1;  // index of the document; -1 for the whole folder
  std::string error;  // set when the selector names nothing in the definition
};

// Finds what a selector names in a definition read with its names as written. The selector is
// a folder name and a document as the definition file writes it, either given apart (folder,
// document) or together in document as "FOLDER/DOCUMENT". A document without a folder is looked
// for in every folder; so is "A/B" when no folder is called "A", so that a document written
// "sub/page.html" can be named alone. Document paths match whichever separator is typed. The
// error names what is missing (the folder, when "A/B" is found nowhere and A is close to a
// folder's name) and lists the nearest names the definition has.
DocumentChoice ChooseDocument(const ProjectDefinition& definition, std::string_view folder,
                              std::string_view document);

}  // namespace pentrak
