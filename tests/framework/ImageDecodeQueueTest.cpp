// The loading queue hands back each file's decoded chain in list order,
// whether worker threads decode ahead (the desktop) or take() decodes each
// file itself (no threads, as in the browser).
#include "vessara/ImageDecodeQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ImageDecodeQueue, WithAndWithoutWorkersEveryFileComesBackInOrder)
{
    const std::vector<std::string> paths = {"data/balloon-envelope.jpg", "data/bgenv.jpg",
                                            "data/balloon-wicker.jpg", "data/credits.png"};
    std::vector<Vessara::DecodedImage> alone;
    for (const std::string& path : paths) {
        Vessara::DecodedImage image;
        std::string error;
        ASSERT_TRUE(Vessara::decodeImageFile(path, 1024, image, error)) << error;
        alone.push_back(std::move(image));
    }
    for (unsigned workers : {0u, 1u, 3u}) {
        SCOPED_TRACE(std::to_string(workers) + " workers");
        Vessara::ImageDecodeQueue queue(paths, workers, 1024);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const Vessara::DecodedImage image = queue.take(i);
            EXPECT_EQ(image.width, alone[i].width) << paths[i];
            EXPECT_EQ(image.height, alone[i].height) << paths[i];
            ASSERT_EQ(image.levels.size(), alone[i].levels.size()) << paths[i];
            EXPECT_TRUE(image.levels.back().bytes == alone[i].levels.back().bytes) << paths[i];
            EXPECT_TRUE(image.levels.front().bytes == alone[i].levels.front().bytes) << paths[i];
        }
    }
}
