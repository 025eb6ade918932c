#include "shell/profile_configuration.h"

#include "engine/setup_engine.h"
#include "shell/product_profile.h"

void configureFromProfile(SetupEngine& engine) {
    productProfile.installList[0] = productProfile.executableName;
    engine.configure(productProfile.installList, productProfile.extraList,
                     productProfile.mediaLabelList, nullptr, productProfile.studioName,
                     productProfile.productTitle, productProfile.productFolderName,
                     productProfile.installMegabytes);
}
