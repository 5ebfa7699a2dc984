// A temporary folder of a test's own: made with a unique name below the system's temporary folder,
// and removed with everything in it when the object goes, also when an assertion ends the test
// early.
#ifndef ZARNEL_TEST_SCRATCH_FOLDER_H
#define ZARNEL_TEST_SCRATCH_FOLDER_H

#include <filesystem>
#include <stdlib.h>
#include <string>
#include <system_error>

class ScratchFolder
{
public:
	//! Makes <temporary folder>/<name>-XXXXXX; path is empty when that fails.
	explicit ScratchFolder(const std::string& name) : path(make(name)) {}
	~ScratchFolder()
	{
		std::error_code ignored;
		if (!path.empty())
			std::filesystem::remove_all(path, ignored);
	}
	ScratchFolder(const ScratchFolder&) = delete;
	ScratchFolder& operator=(const ScratchFolder&) = delete;

	const std::filesystem::path path;

private:
	static std::filesystem::path make(const std::string& name)
	{
		std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
		return mkdtemp(&pattern[0]) ? std::filesystem::path(pattern) : std::filesystem::path();
	}
};

#endif
