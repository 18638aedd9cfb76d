#pragma once

#include <memory>

namespace web {

// A class whose objects a hash table can hold as values: the table copies them with Clone and
// releases them by destroying the copy.
class HashObject {
 public:
  virtual ~HashObject() = default;
  virtual std::unique_ptr<HashObject> Clone() const = 0;
};

// An object value: owns its object, and copying it copies the object.
class ObjectValue {
 public:
  ObjectValue() = default;
  explicit ObjectValue(const HashObject& object) : object_(object.Clone()) {}
  explicit ObjectValue(std::unique_ptr<HashObject> object) : object_(std::move(object)) {}
  ObjectValue(const ObjectValue& other)
      : object_(other.object_ ? other.object_->Clone() : nullptr) {}
  ObjectValue& operator=(const ObjectValue& other) {
    if (this != &other) object_ = other.object_ ? other.object_->Clone() : nullptr;
    return *this;
  }
  ObjectValue(ObjectValue&&) noexcept = default;
  ObjectValue& operator=(ObjectValue&&) noexcept = default;

  bool empty() const { return object_ == nullptr; }
  const HashObject* get() const { return object_.get(); }
  HashObject* get() { return object_.get(); }
  std::unique_ptr<HashObject> release() { return std::move(object_); }

 private:
  std::unique_ptr<HashObject> object_;
};

}  // namespace web
