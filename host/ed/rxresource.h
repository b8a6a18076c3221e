// Resource instances: where an application keeps its resources (menus, strings, dialogs).
#pragma once

class AcRxResourceInstance {
public:
    AcRxResourceInstance() = default;
    AcRxResourceInstance(void* module) : m_module(module) {}
    static const AcRxResourceInstance& empty() {
        static const AcRxResourceInstance none;
        return none;
    }
    bool isEmpty() const { return m_module == nullptr; }
    void* module() const { return m_module; }

private:
    void* m_module = nullptr;
};
