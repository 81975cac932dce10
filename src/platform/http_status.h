#pragma once

namespace pentrak {

// The standard reason phrase of an HTTP status ("Not Found" for 404), or "" for a status this
// program neither sends nor reports by name.
const char* HttpReasonPhrase(int status);

}  // namespace pentrak
