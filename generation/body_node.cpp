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

void releaseBands(DustBand* head) {
    while (head != nullptr) {
        DustBand* next = head->next;
        delete head;
        head = next;
    }
}

int countBodies(const BodyNode* head) {
    int count = 0;
    for (; head != nullptr; head = head->next) ++count;
    return count;
}

void copyBodyToRecord(const BodyNode& body, PlanetRecord& record) {
    record.planetnumber = body.planetnumber;
    record.sma = body.sma;
    record.ecc = body.ecc;
    record.axtilt = body.axtilt;
    record.mass = body.mass;
    record.gasgiant = body.gasgiant;
    record.dustmass = body.dustmass;
    record.gasmass = body.gasmass;
    record.coreradius = body.coreradius;
    record.radius = body.radius;
    record.orbitzone = body.orbitzone;
    record.density = body.density;
    record.period = body.period;
    record.day = body.day;
    record.resonant = body.resonant;
    record.escvelocity = body.escvelocity;
    record.surfaccel = body.surfaccel;
    record.surfgrav = body.surfgrav;
    record.rmsvelocity = body.rmsvelocity;
    record.minmolweight = body.minmolweight;
    record.volinventory = body.volinventory;
    record.surfpressure = body.surfpressure;
    record.greenhouse = body.greenhouse;
    record.boilpoint = body.boilpoint;
    record.albedo = body.albedo;
    record.exotemp = body.exotemp;
    record.esttemp = body.esttemp;
    record.estterrtemp = body.estterrtemp;
    record.medsurftemp = body.medsurftemp;
    record.greenhouserise = body.greenhouserise;
    record.hightemp = body.hightemp;
    record.lowtemp = body.lowtemp;
    record.maxtemp = body.maxtemp;
    record.mintemp = body.mintemp;
    record.hydrofraction = body.hydrofraction;
    record.cloudfraction = body.cloudfraction;
    record.icefraction = body.icefraction;
    record.gascount = body.gascount;
    record.atmdensity = body.atmdensity;
    record.molconst = body.molconst;
    record.atmcompounds = body.atmcompounds;
    record.type = body.type;
}
