#pragma once

#include "tools/KeyboardLayout.h"

#include <QList>

// A ring of layout handles the test sets up; records every switch.
class FakeKeyboardLayout : public KeyboardLayout
{
public:
    explicit FakeKeyboardLayout(QList<quint32> layouts = {UsEnglish, 0x040C040Cu})
        : m_layouts(std::move(layouts))
    {
    }

    quint32 current() const override
    {
        return m_layouts.isEmpty() ? Unknown : m_layouts.at(m_current);
    }
    void activateNext() override
    {
        ++m_switches;
        if (!m_layouts.isEmpty())
            m_current = (m_current + 1) % static_cast<int>(m_layouts.size());
    }

    void setCurrentIndex(int index) { m_current = index; }
    int currentIndex() const { return m_current; }
    int switches() const { return m_switches; }

private:
    QList<quint32> m_layouts;
    int m_current = 0;
    int m_switches = 0;
};
