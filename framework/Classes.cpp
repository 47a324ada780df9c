#include "framework/Classes.h"

#include <algorithm>

std::string FormatMessageText(const char* format, const std::string& argument) {
    std::string text(format);
    if (auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {
    if (owner_ != nullptr) {
        owner_->components_.push_back(this);
    }
}

void TComponent::BeginDestruction() {
    destroying_ = true;
    for (auto* component : components_) {
        component->BeginDestruction();
    }
}

TComponent::~TComponent() {
    BeginDestruction();
    while (!components_.empty()) {
        delete components_.back();  // its destructor takes it off this list
    }
    if (owner_ != nullptr) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (auto* component : components_) {
        if (component->Name == name) {
            return component;
        }
    }
    return nullptr;
}
