#include "job_file.h"

namespace tickvane::wine {
namespace {

constexpr size_t kFixedLength = 68;   // FIXDLEN_DATA
constexpr size_t kOffsetFields = 20;  // the application name's offset, then the triggers'
constexpr size_t kTriggerLength = 48;

// Little-endian fields read in order; every read checks that the bytes are there.
class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    size_t at() const { return at_; }
    bool skip(size_t n)
    {
        if (n > bytes_.size() - at_)
            return false;
        at_ += n;
        return true;
    }
    bool u16(int& value)
    {
        if (!skip(2))
            return false;
        value = byte(at_ - 2) | byte(at_ - 1) << 8;
        return true;
    }
    bool u32(uint32_t& value)
    {
        int low = 0, high = 0;
        if (!u16(low) || !u16(high))
            return false;
        value = static_cast<uint32_t>(low) | static_cast<uint32_t>(high) << 16;
        return true;
    }
    // A character count that includes the terminating null, then the characters; 0: absent.
    bool text(std::u16string& out)
    {
        int count = 0;
        out.clear();
        if (!u16(count))
            return false;
        for (int i = 0, c = 0; i < count; ++i) {
            if (!u16(c))
                return false;
            out.push_back(static_cast<char16_t>(c));
        }
        if (count == 0)
            return true;
        bool terminated = out.back() == u'\0';
        out.pop_back();
        return terminated;
    }

private:
    int byte(size_t i) const { return static_cast<unsigned char>(bytes_[i]); }
    const std::string& bytes_;
    size_t at_ = 0;
};

bool read_trigger(Reader& in, JobTrigger& t)
{
    size_t start = in.at();
    int size = 0, reserved = 0, end_year = 0, end_month = 0, end_day = 0;
    uint32_t duration = 0, interval = 0, flags = 0;
    return in.u16(size) && in.u16(reserved) && in.u16(t.begin_year) && in.u16(t.begin_month) && in.u16(t.begin_day) &&
           in.u16(end_year) && in.u16(end_month) && in.u16(end_day) && in.u16(t.start_hour) && in.u16(t.start_minute) &&
           in.u32(duration) && in.u32(interval) && in.u32(flags) && in.u32(t.type) &&
           in.skip(kTriggerLength - (in.at() - start));
}

bool fail(std::string* why, const std::string& what)
{
    *why = what;
    return false;
}

bool read_variable_part(Reader& in, int app_name_offset, int trigger_offset, JobFile& job, std::string* why)
{
    int running = 0, user_data = 0, reserved_data = 0, triggers = 0;
    if (!in.skip(kFixedLength) || !in.u16(running))
        return fail(why, "shorter than its fixed-length section");
    if (in.at() != static_cast<size_t>(app_name_offset))
        return fail(why, "the application name is not where the header says");
    if (!in.text(job.application) || !in.text(job.parameters) || !in.text(job.working_directory) ||
        !in.text(job.author) || !in.text(job.comment))
        return fail(why, "a cut or unterminated string");
    if (!in.u16(user_data) || !in.skip(static_cast<size_t>(user_data)) || !in.u16(reserved_data) ||
        !in.skip(static_cast<size_t>(reserved_data)))
        return fail(why, "cut in the user or reserved data");
    if (in.at() != static_cast<size_t>(trigger_offset) || !in.u16(triggers))
        return fail(why, "the trigger count is not where the header says");
    job.triggers.resize(static_cast<size_t>(triggers));
    for (JobTrigger& t : job.triggers)
        if (!read_trigger(in, t))
            return fail(why, "cut in its triggers");
    return true;
}

}  // namespace

std::optional<JobFile> parse_job(const std::string& bytes, std::string* why)
{
    Reader header(bytes);
    int app_name_offset = 0, trigger_offset = 0;
    JobFile job;
    Reader in(bytes);
    why->clear();
    if (!header.skip(kOffsetFields) || !header.u16(app_name_offset) || !header.u16(trigger_offset) ||
        !read_variable_part(in, app_name_offset, trigger_offset, job, why)) {
        if (why->empty())
            *why = "shorter than its fixed-length section";
        return std::nullopt;
    }
    return job;
}

std::string ascii(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace tickvane::wine
