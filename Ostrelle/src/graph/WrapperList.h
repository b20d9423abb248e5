// The wrappers' own singly linked lists (a filter's pins, a graph's filters), linked through the
// items' GetNext and SetNext.
#pragma once

// Takes `item` out of the list that starts at `head`; false when it is not in the list. The
// item's own link is left as it is.
template <class T>
bool UnlinkFromList(T*& head, T* item) {
    T* previous = nullptr;
    for (T* current = head; current != nullptr; previous = current, current = current->GetNext()) {
        if (current != item) continue;
        if (previous == nullptr) {
            head = current->GetNext();
        } else {
            previous->SetNext(current->GetNext());
        }
        return true;
    }
    return false;
}
