#ifndef RRENSEN_DRIVER_USAGE_H_
#define RRENSEN_DRIVER_USAGE_H_

namespace driver {

/// What `rrensen --help` prints: what the tool does, the file it works on,
/// every option and the exit statuses.
extern const char kUsageText[];

/// What `rrensen --version` prints.
extern const char kVersionText[];

}  // namespace driver

#endif  // RRENSEN_DRIVER_USAGE_H_
