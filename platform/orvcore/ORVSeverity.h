// Severity levels of messages, from fatal to information.
#pragma once

// A fixed underlying type, so that values outside the list (5 for "not set") are valid.
enum ORVSeverity : int {
  kORVSeverityFatal = 0,
  kORVSeverityError = 1,
  kORVSeverityWarning = 2,
  kORVSeverityInformation = 3,
};
