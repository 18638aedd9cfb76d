// Linking elements into the host's root list and their parents' child lists. List order is
// painting order: the head is painted first (bottom), the tail last (top).
#include "directui/core/element.h"
#include "directui/core/host_record.h"

namespace directui {

Ex_Element** Ex_Element::ListHead() {
  if (!IsRoot()) return &parent->first_child;
  return host != nullptr ? &host->first_root : nullptr;
}

Ex_Element** Ex_Element::ListTail() {
  if (!IsRoot()) return &parent->last_child;
  return host != nullptr ? &host->last_root : nullptr;
}

void Ex_Element::AppendToList() {
  Ex_Element** head = ListHead();
  Ex_Element** tail = ListTail();
  if (head == nullptr || tail == nullptr) return;
  if (*head == nullptr) *head = this;
  if (*tail != nullptr) (*tail)->next_sibling = this;
  previous_sibling = *tail;
  next_sibling = nullptr;
  *tail = this;
}

void Ex_Element::PrependToList() {
  Ex_Element** head = ListHead();
  Ex_Element** tail = ListTail();
  if (head == nullptr || tail == nullptr) return;
  if (*tail == nullptr) *tail = this;
  if (*head != nullptr) (*head)->previous_sibling = this;
  next_sibling = *head;
  previous_sibling = nullptr;
  *head = this;
}

void Ex_Element::SetParent(Ex_Element* new_parent) {
  if (new_parent == parent) return;
  // An element cannot hang below itself: that would take the subtree out of every list.
  for (Ex_Element* up = new_parent; up != nullptr; up = up->parent) {
    if (up == this) return;
  }
  Unlink();
  parent = new_parent;
  AppendToList();
  Invalidate();
}

void Ex_Element::SetZOrder(int position, bool redraw) {
  Unlink();
  if (position == 2) {
    PrependToList();
  } else {
    AppendToList();
  }
  if (redraw) Invalidate();
}

void Ex_Element::Unlink() {
  if (IsRoot()) {
    Ex_Element* found = host != nullptr ? host->first_root : nullptr;
    while (found != nullptr && found != this) found = found->next_sibling;
    if (found == nullptr) {
      previous_sibling = next_sibling = nullptr;
      return;
    }
  }
  Ex_Element** head = ListHead();
  Ex_Element** tail = ListTail();
  if (head != nullptr && *head == this) *head = next_sibling;
  if (tail != nullptr && *tail == this) *tail = previous_sibling;
  if (previous_sibling != nullptr) previous_sibling->next_sibling = next_sibling;
  if (next_sibling != nullptr) next_sibling->previous_sibling = previous_sibling;
  previous_sibling = next_sibling = nullptr;
}

}  // namespace directui
