// Severity levels of messages, from fatal to information.
#pragma once

enum ORVSeverity {
  kORVSeverityFatal = 0,
  kORVSeverityError = 1,
  kORVSeverityWarning = 2,
  kORVSeverityInformation = 3,
};
