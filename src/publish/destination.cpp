#include "publish/destination.h"

namespace pentrak {

PublishError PublishFailure(const std::string& destination_text, const std::string& reason) {
  return PublishError("Cannot publish to " + destination_text + ": " + reason);
}

}  // namespace pentrak
