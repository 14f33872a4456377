// A document type; documents are made with none, so this handle is always empty.
#pragma once

class ORVIDOM_DocumentType {
 public:
  // True: no document type is ever held.
  bool isNull() const noexcept { return true; }
};
