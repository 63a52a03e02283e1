#include "benchworkload.h"

#include "datalayout.h"
#include "recordfields.h"

#include <random>

namespace kt63::bench {

namespace {

int32_t Below(std::mt19937& engine, int32_t count)
{
    return static_cast<int32_t>(engine() % static_cast<uint32_t>(count));
}

template <class Values, size_t N>
Values RandomValues(std::mt19937& engine, const std::array<FieldSpec<Values>, N>& fields)
{
    Values values;
    for (const auto& field : fields)
        values.*field.member = static_cast<int32_t>(engine());
    return values;
}

template <class Values, size_t N>
void AppendEncoded(std::vector<uint8_t>& bytes, const Values& values,
                   const std::array<FieldSpec<Values>, N>& fields)
{
    for (const auto& field : fields) {
        uint8_t encoded[4] = {};
        EncodeField(field.conversion, field.width, values.*field.member, encoded);
        bytes.insert(bytes.end(), encoded, encoded + field.width);
    }
}

} // namespace

std::vector<Job> RandomJobs(size_t count, uint32_t seed, bool loading)
{
    std::mt19937 engine(seed);
    std::vector<Job> jobs(count);
    for (Job& job : jobs) {
        job.address.weapon = 1 + Below(engine, WeaponCount);
        job.address.slot = Below(engine, SlotCount);
        job.address.tab = Below(engine, ArmamentTabCount);
        job.address.armament = loading ? job.address.weapon - 1 : Below(engine, ArmamentGroupCount);
        job.weapon = RandomValues(engine, WeaponFields);
        job.armament = RandomValues(engine, ArmamentFields);
    }
    return jobs;
}

const std::vector<Job>& LoadJobs()
{
    static const std::vector<Job> jobs = RandomJobs(JobCount, 1, true);
    return jobs;
}

const std::vector<Job>& SaveJobs()
{
    static const std::vector<Job> jobs = RandomJobs(JobCount, 2, false);
    return jobs;
}

std::vector<uint8_t> EncodedFields(const Job& job)
{
    std::vector<uint8_t> bytes;
    AppendEncoded(bytes, job.weapon, WeaponFields);
    AppendEncoded(bytes, job.armament, ArmamentFields);
    return bytes;
}

std::vector<uint8_t> SyntheticNamesArea(size_t size, uint32_t seed)
{
    std::mt19937 engine(seed);
    std::vector<uint8_t> area;
    area.reserve(size);
    while (area.size() < size) {
        area.insert(area.end(), 1 + engine() % 3, 0);
        const uint32_t length = 1 + engine() % 30;
        for (uint32_t i = 0; i < length; ++i)
            area.push_back(static_cast<uint8_t>(0x81 + engine() % 0x7E));
    }
    area.resize(size);
    return area;
}

} // namespace kt63::bench
