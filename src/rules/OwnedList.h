#pragma once

#include <memory>
#include <vector>

// An ordered list that owns its records, addressed by index: what the rule, alert and announcement
// lists share. Out-of-range indices are refused, never undefined.
template <class Record>
class OwnedList
{
public:
    int Count() const { return static_cast<int>(m_records.size()); }

    Record* At(int index) const
    {
        return index >= 0 && index < Count() ? m_records[static_cast<size_t>(index)].get() : nullptr;
    }

    // Inserts before index; at or past the end appends. False (the record deleted) for index < 0.
    bool Insert(int index, std::unique_ptr<Record> record)
    {
        if (index < 0 || !record)
            return false;
        const auto position = index >= Count() ? m_records.end() : m_records.begin() + index;
        m_records.insert(position, std::move(record));
        return true;
    }

    void Append(std::unique_ptr<Record> record) { m_records.push_back(std::move(record)); }

    bool Remove(int index)
    {
        if (index < 0 || index >= Count())
            return false;
        m_records.erase(m_records.begin() + index);
        return true;
    }

    bool Move(int from, int to)
    {
        if (from < 0 || from >= Count() || to < 0 || to >= Count())
            return false;
        std::unique_ptr<Record> record = std::move(m_records[static_cast<size_t>(from)]);
        m_records.erase(m_records.begin() + from);
        m_records.insert(m_records.begin() + to, std::move(record));
        return true;
    }

    void Clear() { m_records.clear(); }

    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

private:
    std::vector<std::unique_ptr<Record>> m_records;
};
