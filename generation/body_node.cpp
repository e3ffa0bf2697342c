#include "generation/body_node.h"

void releaseBody(BodyNode* body) {
    if (body == nullptr) return;
    releaseBodies(body->firstmoon);
    body->firstmoon = nullptr;
    delete body;
}

void releaseBodies(BodyNode* head) {
    while (head != nullptr) {
        BodyNode* next = head->next;
        releaseBody(head);
        head = next;
    }
}

int countBodies(const BodyNode* head) {
    int count = 0;
    for (; head != nullptr; head = head->next) ++count;
    return count;
}
